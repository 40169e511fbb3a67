// DOS's open files: the job file table lives in the program's memory (a program may move it
// with INT 21h 67h); the system files behind it are the drive's files counted by their references.
#include "dos/DosFileTable.h"

#include "dos/DosLayout.h"

namespace dos {

using namespace DosLayout;

CDosFileTable::CDosFileTable(CMemory& memory) : m_memory(memory), m_files(kSystemFiles) {}

void CDosFileTable::Reset(uint16_t inputInfo, uint16_t outputInfo)
{
    for (DosOpenFile& file : m_files)
        file = DosOpenFile{};
    m_files[0] = {FileKind::StandardInput, nullptr, 0, 0, inputInfo};
    m_files[1] = {FileKind::StandardOutput, nullptr, 1, 0, outputInfo};
    m_files[2] = {FileKind::StandardError, nullptr, 1, 0, outputInfo};
    m_files[3] = {FileKind::Null, nullptr, 2, 0, 0x8084};
    m_files[4] = {FileKind::Null, nullptr, 2, 0, 0x8084};
}

void CDosFileTable::OpenStandardHandles(uint16_t psp)
{
    for (uint16_t handle = 0; handle < 5; ++handle) {
        SetEntry(psp, handle, static_cast<uint8_t>(handle));
        ++m_files[handle].references;
    }
}

uint32_t CDosFileTable::TableAddress(uint16_t psp) const
{
    uint16_t offset = m_memory.Read16(psp, Psp::kHandleTablePointer);
    uint16_t segment = m_memory.Read16(psp, Psp::kHandleTablePointer + 2);
    return CMemory::Linear(segment, offset);
}

uint16_t CDosFileTable::TableSize(uint16_t psp) const { return m_memory.Read16(psp, Psp::kHandleCount); }

uint8_t CDosFileTable::Entry(uint16_t psp, uint16_t handle) const
{
    if (handle >= TableSize(psp))
        return Psp::kUnusedHandle;
    return m_memory.Read8(TableAddress(psp) + handle);
}

void CDosFileTable::SetEntry(uint16_t psp, uint16_t handle, uint8_t entry)
{
    m_memory.Write8(TableAddress(psp) + handle, entry);
}

DosError CDosFileTable::FreeHandle(uint16_t psp, uint16_t& handle) const
{
    for (handle = 0; handle < TableSize(psp); ++handle)
        if (Entry(psp, handle) == Psp::kUnusedHandle)
            return kErrNone;
    return kErrTooManyOpenFiles;
}

DosError CDosFileTable::Add(uint16_t psp, DosOpenFile file, uint16_t& handle)
{
    DosError error = FreeHandle(psp, handle);
    for (size_t entry = 0; error == kErrNone && entry < m_files.size(); ++entry) {
        if (m_files[entry].kind != FileKind::Free)
            continue;
        m_files[entry] = std::move(file);
        m_files[entry].references = 1;
        SetEntry(psp, handle, static_cast<uint8_t>(entry));
        return kErrNone;
    }
    return error == kErrNone ? kErrTooManyOpenFiles : error;
}

DosOpenFile* CDosFileTable::Get(uint16_t psp, uint16_t handle)
{
    uint8_t entry = Entry(psp, handle);
    if (entry >= m_files.size() || m_files[entry].kind == FileKind::Free)
        return nullptr;
    return &m_files[entry];
}

void CDosFileTable::Release(uint8_t entry)
{
    DosOpenFile& file = m_files[entry];
    if (file.references == 0 || --file.references > 0 || entry < 5)
        return;
    file = DosOpenFile{};
}

DosError CDosFileTable::Close(uint16_t psp, uint16_t handle)
{
    if (!Get(psp, handle))
        return kErrInvalidHandle;
    Release(Entry(psp, handle));
    SetEntry(psp, handle, Psp::kUnusedHandle);
    return kErrNone;
}

DosError CDosFileTable::Duplicate(uint16_t psp, uint16_t handle, uint16_t& copy)
{
    DosOpenFile* file = Get(psp, handle);
    if (!file)
        return kErrInvalidHandle;
    DosError error = FreeHandle(psp, copy);
    if (error != kErrNone)
        return error;
    SetEntry(psp, copy, Entry(psp, handle));
    ++file->references;
    return kErrNone;
}

DosError CDosFileTable::ForceDuplicate(uint16_t psp, uint16_t handle, uint16_t target)
{
    DosOpenFile* file = Get(psp, handle);
    if (!file || target >= TableSize(psp))
        return kErrInvalidHandle;
    if (target == handle)
        return kErrNone;
    if (Get(psp, target))
        Close(psp, target);
    SetEntry(psp, target, Entry(psp, handle));
    ++file->references;
    return kErrNone;
}

void CDosFileTable::Inherit(uint16_t parentPsp, uint16_t childPsp)
{
    for (uint16_t handle = 0; handle < Psp::kDefaultHandles; ++handle) {
        DosOpenFile* file = parentPsp ? Get(parentPsp, handle) : nullptr;
        bool inherit = file && !(file->mode & 0x80);
        SetEntry(childPsp, handle, inherit ? Entry(parentPsp, handle) : Psp::kUnusedHandle);
        if (inherit)
            ++file->references;
    }
}

void CDosFileTable::CloseAll(uint16_t psp)
{
    for (uint16_t handle = 0; handle < TableSize(psp); ++handle)
        if (Get(psp, handle))
            Close(psp, handle);
}

void CDosFileTable::MoveTable(uint16_t psp, uint16_t tableSegment, uint16_t tableOffset, uint16_t count)
{
    uint32_t to = CMemory::Linear(tableSegment, tableOffset);
    uint16_t kept = TableSize(psp);
    for (uint16_t handle = 0; handle < count; ++handle)
        m_memory.Write8(to + handle, handle < kept ? Entry(psp, handle) : Psp::kUnusedHandle);
    m_memory.Write16(psp, Psp::kHandleCount, count);
    m_memory.Write16(psp, Psp::kHandleTablePointer, tableOffset);
    m_memory.Write16(psp, Psp::kHandleTablePointer + 2, tableSegment);
}

}  // namespace dos
