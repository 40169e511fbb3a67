// DOS's memory blocks: the chain of memory control blocks from the first one to the top of
// conventional memory, with INT 21h 48h, 49h, 4Ah and 58h's allocation strategies and the
// errors DOS gives.
#pragma once

#include "dos/DosError.h"
#include "dos/Memory.h"

#include <cstdint>
#include <string>

namespace dos {

class CMemoryArena {
public:
    static constexpr uint16_t kFree = 0;
    enum Strategy : uint16_t { kFirstFit = 0, kBestFit = 1, kLastFit = 2 };

    explicit CMemoryArena(CMemory& memory) : m_memory(memory) {}

    // One free block from firstMcb up to (not including) topSegment.
    void Reset(uint16_t firstMcb, uint16_t topSegment);

    // On success `segment` is the block's first paragraph; on kErrNotEnoughMemory `largest`
    // is the largest free block.
    DosError Allocate(uint16_t paragraphs, uint16_t owner, uint16_t& segment, uint16_t& largest);
    DosError Free(uint16_t segment);
    // On kErrNotEnoughMemory `largest` is the most the block can grow to.
    DosError Resize(uint16_t segment, uint16_t paragraphs, uint16_t& largest);
    // The largest free block (kErrArenaTrashed leaves it 0).
    uint16_t Largest();
    void FreeOwnedBy(uint16_t owner);

    bool IsBlock(uint16_t segment) const;
    uint16_t BlockSize(uint16_t segment) const;
    void SetOwner(uint16_t segment, uint16_t owner);
    // The program's name in the block's control block, as DOS 4 and later keep it.
    void SetName(uint16_t segment, const std::string& name);

    uint16_t GetStrategy() const { return m_nStrategy; }
    void SetStrategy(uint16_t strategy) { m_nStrategy = strategy; }

private:
    struct Mcb {
        uint16_t segment;
        uint8_t type;
        uint16_t owner;
        uint16_t size;
        uint16_t Next() const { return static_cast<uint16_t>(segment + size + 1); }
        bool Last() const { return type == 'Z'; }
    };

    Mcb Read(uint16_t segment) const;
    void Write(const Mcb& mcb);
    static bool ValidType(uint8_t type) { return type == 'M' || type == 'Z'; }
    // Joins the free blocks that follow into the block.
    bool Merge(Mcb& mcb);
    // Cuts `mcb` to `paragraphs`, the rest becoming a free block after it.
    void Split(Mcb& mcb, uint16_t paragraphs);
    // Walks the chain, joining free neighbours; false when the chain is broken.
    template <typename Visit> bool Walk(Visit visit);

    CMemory& m_memory;
    uint16_t m_nFirstMcb = 0;
    uint16_t m_nTop = 0;
    uint16_t m_nStrategy = kFirstFit;
};

}  // namespace dos
