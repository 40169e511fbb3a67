// Looks an interrupt and its function up in the table.
#include "explain/InterruptFunction.h"

#include "explain/InterruptTable.h"

namespace explain {

namespace {

const InterruptEntry* Find(int number, int ah)
{
    for (const InterruptEntry& entry : Interrupts())
        if (entry.nNumber == number && entry.nAh == ah)
            return &entry;
    return nullptr;
}

}  // namespace

std::optional<InterruptFunction> DescribeInterrupt(int number, std::optional<int> ah)
{
    const InterruptEntry* entry = ah ? Find(number, *ah) : nullptr;
    if (entry == nullptr)
        entry = Find(number, kWholeInterrupt);
    if (entry == nullptr)
        return std::nullopt;
    InterruptFunction function{number, std::nullopt, entry->pszName, entry->pszInput, entry->pszOutput, entry->pszExample};
    if (entry->nAh != kWholeInterrupt)
        function.ah = entry->nAh;
    return function;
}

}  // namespace explain
