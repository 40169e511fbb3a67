// DOS's memory blocks: walking, joining, cutting and choosing blocks in the chain of memory
// control blocks that lives in the machine's own memory, where programs may look at it.
#include "dos/MemoryArena.h"

#include <algorithm>

namespace dos {

void CMemoryArena::Reset(uint16_t firstMcb, uint16_t topSegment)
{
    m_nFirstMcb = firstMcb;
    m_nTop = topSegment;
    Write({firstMcb, 'Z', kFree, static_cast<uint16_t>(topSegment - firstMcb - 1)});
}

CMemoryArena::Mcb CMemoryArena::Read(uint16_t segment) const
{
    return {segment, m_memory.Read8(segment, 0), m_memory.Read16(segment, 1), m_memory.Read16(segment, 3)};
}

void CMemoryArena::Write(const Mcb& mcb)
{
    m_memory.Write8(mcb.segment, 0, mcb.type);
    m_memory.Write16(mcb.segment, 1, mcb.owner);
    m_memory.Write16(mcb.segment, 3, mcb.size);
}

bool CMemoryArena::Merge(Mcb& mcb)
{
    while (!mcb.Last()) {
        Mcb next = Read(mcb.Next());
        if (!ValidType(next.type))
            return false;
        if (next.owner != kFree)
            break;
        mcb.size = static_cast<uint16_t>(mcb.size + next.size + 1);
        mcb.type = next.type;
    }
    Write(mcb);
    return true;
}

void CMemoryArena::Split(Mcb& mcb, uint16_t paragraphs)
{
    if (mcb.size <= paragraphs)
        return;
    Mcb rest{static_cast<uint16_t>(mcb.segment + paragraphs + 1), mcb.type, kFree,
             static_cast<uint16_t>(mcb.size - paragraphs - 1)};
    mcb.type = 'M';
    mcb.size = paragraphs;
    Write(mcb);
    Merge(rest);
}

template <typename Visit> bool CMemoryArena::Walk(Visit visit)
{
    uint16_t segment = m_nFirstMcb;
    for (;;) {
        Mcb mcb = Read(segment);
        if (!ValidType(mcb.type))
            return false;
        if (mcb.owner == kFree && !Merge(mcb))
            return false;
        if (!visit(mcb))
            return true;
        if (mcb.Last())
            return true;
        segment = mcb.Next();
    }
}

DosError CMemoryArena::Allocate(uint16_t paragraphs, uint16_t owner, uint16_t& segment, uint16_t& largest)
{
    uint16_t strategy = m_nStrategy & 3;
    bool found = false;
    Mcb chosen{};
    largest = 0;
    bool intact = Walk([&](const Mcb& mcb) {
        if (mcb.owner != kFree)
            return true;
        largest = std::max(largest, mcb.size);
        if (mcb.size < paragraphs)
            return true;
        bool better = !found || strategy == kLastFit || (strategy == kBestFit && mcb.size < chosen.size);
        if (better)
            chosen = mcb;
        found = true;
        return strategy != kFirstFit;
    });
    if (!intact)
        return kErrArenaTrashed;
    if (!found)
        return kErrNotEnoughMemory;
    if (strategy == kLastFit && chosen.size > paragraphs) {
        Mcb top{static_cast<uint16_t>(chosen.segment + chosen.size - paragraphs), chosen.type, owner, paragraphs};
        chosen.type = 'M';
        chosen.size = static_cast<uint16_t>(chosen.size - paragraphs - 1);
        Write(chosen);
        Write(top);
        segment = static_cast<uint16_t>(top.segment + 1);
        return kErrNone;
    }
    Split(chosen, paragraphs);
    chosen.owner = owner;
    Write(chosen);
    segment = static_cast<uint16_t>(chosen.segment + 1);
    return kErrNone;
}

bool CMemoryArena::IsBlock(uint16_t segment) const
{
    return segment > m_nFirstMcb && segment <= m_nTop && ValidType(Read(static_cast<uint16_t>(segment - 1)).type);
}

DosError CMemoryArena::Free(uint16_t segment)
{
    if (!IsBlock(segment))
        return kErrInvalidBlock;
    Mcb mcb = Read(static_cast<uint16_t>(segment - 1));
    mcb.owner = kFree;
    Write(mcb);
    return kErrNone;
}

DosError CMemoryArena::Resize(uint16_t segment, uint16_t paragraphs, uint16_t& largest)
{
    if (!IsBlock(segment))
        return kErrInvalidBlock;
    Mcb mcb = Read(static_cast<uint16_t>(segment - 1));
    // Free blocks behind it join it for the moment; the owner is put back after.
    uint16_t owner = mcb.owner;
    if (!Merge(mcb))
        return kErrArenaTrashed;
    if (mcb.size < paragraphs) {
        largest = mcb.size;
        return kErrNotEnoughMemory;
    }
    Split(mcb, paragraphs);
    mcb.owner = owner;
    Write(mcb);
    return kErrNone;
}

uint16_t CMemoryArena::Largest()
{
    uint16_t largest = 0;
    Walk([&](const Mcb& mcb) {
        if (mcb.owner == kFree)
            largest = std::max(largest, mcb.size);
        return true;
    });
    return largest;
}

void CMemoryArena::FreeOwnedBy(uint16_t owner)
{
    Walk([&](const Mcb& mcb) {
        if (mcb.owner == owner && owner != kFree) {
            Mcb freed = mcb;
            freed.owner = kFree;
            Write(freed);
        }
        return true;
    });
}

uint16_t CMemoryArena::BlockSize(uint16_t segment) const { return Read(static_cast<uint16_t>(segment - 1)).size; }

void CMemoryArena::SetOwner(uint16_t segment, uint16_t owner)
{
    Mcb mcb = Read(static_cast<uint16_t>(segment - 1));
    mcb.owner = owner;
    Write(mcb);
}

void CMemoryArena::SetName(uint16_t segment, const std::string& name)
{
    uint16_t mcb = static_cast<uint16_t>(segment - 1);
    for (uint16_t i = 0; i < 8; ++i)
        m_memory.Write8(mcb, static_cast<uint16_t>(8 + i), i < name.size() ? static_cast<uint8_t>(name[i]) : 0);
}

}  // namespace dos
