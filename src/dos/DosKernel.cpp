// DOS 5's interrupts. Every INT 21h function is a case here; the console, file and program
// functions are carried out by their own classes.
#include "dos/DosKernel.h"

#include "dos/DosLayout.h"
#include "dos/DosPath.h"
#include "dos/GuestMemory.h"

#include <cstdio>

namespace dos {

using namespace DosLayout;

namespace {

constexpr uint16_t kCountryCode = 1;
constexpr uint16_t kCodePage = 437;
constexpr uint8_t kCountryInfoSize = 34;

char Hex(unsigned value) { return "0123456789ABCDEF"[value & 15]; }

std::string Name21(uint8_t ah, int al = -1)
{
    std::string text = "INT 21h AH=";
    text += Hex(ah >> 4);
    text += Hex(ah);
    text += "h";
    if (al >= 0) {
        text += " AL=";
        text += Hex(static_cast<unsigned>(al) >> 4);
        text += Hex(static_cast<unsigned>(al));
        text += "h";
    }
    return text;
}

uint8_t UpperByte(uint8_t c) { return c >= 'a' && c <= 'z' ? static_cast<uint8_t>(c - 32) : c; }

}

void CDosKernel::Reset()
{
    m_named.clear();
    m_bFlushed = false;
    WriteTables();
}

void CDosKernel::WriteTables()
{
    CMemory& memory = m_c.memory;
    const uint16_t data = kDosDataSegment;
    GuestMemory::Fill(memory, data, 0, 0, DosData::kEnd);
    memory.Write16(data, DosData::kFirstMcbWord, kFirstMcbSegment);
    // The list of lists: LASTDRIVE and the NUL device's header are what programs look at.
    const uint16_t lists = DosData::kListOfLists;
    memory.Write8(data, static_cast<uint16_t>(lists + 0x21), 26);
    const uint16_t nul = static_cast<uint16_t>(lists + 0x22);
    memory.Write16(data, nul, 0xFFFF);
    memory.Write16(data, static_cast<uint16_t>(nul + 2), 0xFFFF);
    memory.Write16(data, static_cast<uint16_t>(nul + 4), 0x8004);
    GuestMemory::WriteBytes(memory, data, static_cast<uint16_t>(nul + 10), "NUL     ", 8);
    // 65h's tables: no case mapping above 7Fh (GBK bytes stay as they are), no lead bytes.
    memory.Write16(data, DosData::kUppercaseTable, 128);
    memory.Write16(data, DosData::kFilenameUppercase, 128);
    for (uint16_t i = 0; i < 128; ++i) {
        memory.Write8(data, static_cast<uint16_t>(DosData::kUppercaseTable + 2 + i), static_cast<uint8_t>(0x80 + i));
        memory.Write8(data, static_cast<uint16_t>(DosData::kFilenameUppercase + 2 + i), static_cast<uint8_t>(0x80 + i));
    }
    memory.Write16(data, DosData::kCollatingTable, 256);
    for (uint16_t i = 0; i < 256; ++i)
        memory.Write8(data, static_cast<uint16_t>(DosData::kCollatingTable + 2 + i), UpperByte(static_cast<uint8_t>(i)));
    static const char kTerminators[] = ".\"/\\[]:|<>+=;,";
    const uint8_t header[] = {1, 0x00, 0xFF, 0, 0x00, 0x20, 2, static_cast<uint8_t>(sizeof kTerminators - 1)};
    memory.Write16(data, DosData::kFilenameTerminators, static_cast<uint16_t>(sizeof header + sizeof kTerminators - 1));
    GuestMemory::WriteBytes(memory, data, static_cast<uint16_t>(DosData::kFilenameTerminators + 2), header, sizeof header);
    GuestMemory::WriteBytes(memory, data, static_cast<uint16_t>(DosData::kFilenameTerminators + 2 + sizeof header),
                            kTerminators, sizeof kTerminators - 1);
    memory.Write16(data, DosData::kDbcsTable, 0);
    memory.Write16(data, static_cast<uint16_t>(DosData::kDbcsTable + 2), 0);
}

bool CDosKernel::Handles(uint8_t vector) const
{
    return (vector >= 0x20 && vector <= 0x2F) || vector == 0x33;
}

ServiceResult CDosKernel::Interrupt(uint8_t vector, CpuState& state)
{
    CMemory& memory = m_c.memory;
    switch (vector) {
    case 0x20:
        return m_c.processes.Terminate(state, 0, 0);
    case 0x21:
        return Interrupt21(state);
    case 0x23:
        return m_c.processes.Terminate(state, 0, 1);
    case 0x24:
        state.set_al(3);
        return ServiceResult::Done;
    case 0x25:
    case 0x26:
        // Absolute disk access: refused, with the flags left on the stack as DOS leaves them.
        state.ax() = 0x0208;
        state.SetFlag(kFlagCarry, true);
        state.sp() = static_cast<uint16_t>(state.sp() - 2);
        memory.Write16(state.ss(), state.sp(), state.flags);
        return ServiceResult::Done;
    case 0x27:
        return m_c.processes.Terminate(state, 0, 3, (state.dx() + 15) / 16);
    case 0x29: {
        uint8_t character = state.al();
        m_c.console.Write(DosStream::Output, &character, 1);
        return ServiceResult::Done;
    }
    case 0x2F:
        // The multiplex interrupt: nothing is installed, every installation check answers so.
        return ServiceResult::Done;
    case 0x33:
        if (state.ax() == 0)
            state.bx() = 0;
        return ServiceResult::Done;
    default:
        return ServiceResult::Done;
    }
}

ServiceResult CDosKernel::Break(CpuState& state)
{
    m_bFlushed = false;
    const uint8_t echo[] = {'^', 'C', '\r', '\n'};
    m_c.console.Write(DosStream::Output, echo, sizeof echo);
    if (GuestMemory::IsOwnVector(m_c.memory, 0x23))
        return m_c.processes.Terminate(state, 0, 1);
    GuestMemory::EnterHandler(m_c.memory, state, 0x23, static_cast<uint16_t>(state.ip - 2));
    return ServiceResult::Done;
}

void CDosKernel::Unsupported(CpuState& state, const std::string& what)
{
    if (m_named.insert(what).second)
        m_c.host.OnUnsupported(what);
    m_c.dos.Fail(state, kErrInvalidFunction);
}

ServiceResult CDosKernel::Character(CpuState& state, uint8_t function)
{
    CDosConsole& console = m_c.console;
    CDosConsole::Read read = CDosConsole::Read::Done;
    uint8_t character = 0;
    switch (function) {
    case 0x01:
    case 0x07:
    case 0x08:
        read = console.ReadCharacter(character, function != 0x07, function == 0x01);
        if (read == CDosConsole::Read::Done)
            state.set_al(character);
        break;
    case 0x06:
        if (state.dl() != 0xFF) {
            console.WriteCharacter(state.dl());
            state.set_al(state.dl());
            break;
        }
        if (!console.CharacterReady()) {
            state.set_al(0);
            state.SetFlag(kFlagZero, true);
            break;
        }
        read = console.ReadCharacter(character, false, false);
        state.set_al(character);
        state.SetFlag(kFlagZero, false);
        break;
    case 0x0A:
        read = console.ReadLine(m_c.memory, state.ds(), state.dx());
        break;
    default:
        break;
    }
    if (read == CDosConsole::Read::Wait)
        return ServiceResult::Blocked;
    m_bFlushed = false;
    return read == CDosConsole::Read::Break ? Break(state) : ServiceResult::Done;
}

ServiceResult CDosKernel::Interrupt21(CpuState& state)
{
    CDosFileServices& files = m_c.files;
    CDosProcesses& processes = m_c.processes;
    CMemory& memory = m_c.memory;
    switch (state.ah()) {
    case 0x00:
        return processes.Terminate(state, 0, 0);
    case 0x01:
    case 0x06:
    case 0x07:
    case 0x08:
    case 0x0A:
        return Character(state, state.ah());
    case 0x02:
        m_c.console.WriteCharacter(state.dl());
        state.set_al(state.dl());
        return m_c.console.TakeBreak() ? Break(state) : ServiceResult::Done;
    case 0x03:
        state.set_al(CDosConsole::kCtrlZ);
        break;
    case 0x04:
    case 0x05:
        break;
    case 0x09: {
        std::string text = GuestMemory::ReadDollarString(memory, state.ds(), state.dx());
        m_c.console.Write(DosStream::Output, reinterpret_cast<const uint8_t*>(text.data()), text.size());
        state.set_al('$');
        return m_c.console.TakeBreak() ? Break(state) : ServiceResult::Done;
    }
    case 0x0B:
        if (m_c.console.TakeBreak())
            return Break(state);
        state.set_al(m_c.console.CharacterReady() ? 0xFF : 0x00);
        break;
    case 0x0C:
        if (!m_bFlushed)
            m_c.console.FlushInput();
        m_bFlushed = true;
        if (state.al() == 0x01 || state.al() == 0x06 || state.al() == 0x07 || state.al() == 0x08 || state.al() == 0x0A)
            return Character(state, state.al());
        m_bFlushed = false;
        break;
    case 0x0D:
        break;
    case 0x0E:
        files.SelectDrive(state);
        break;
    case 0x18:
    case 0x1D:
    case 0x1E:
    case 0x20:
        state.set_al(0);
        break;
    case 0x19:
        files.CurrentDrive(state);
        break;
    case 0x1A:
        files.SetDta(state);
        break;
    case 0x25:
        memory.Write16(0, static_cast<uint16_t>(state.al() * 4), state.dx());
        memory.Write16(0, static_cast<uint16_t>(state.al() * 4 + 2), state.ds());
        break;
    case 0x26:
        processes.CreatePsp(state);
        break;
    case 0x29:
        ParseName(state);
        break;
    case 0x2A:
        Date(state, false);
        break;
    case 0x2B:
        Date(state, true);
        break;
    case 0x2C:
        Time(state, false);
        break;
    case 0x2D:
        Time(state, true);
        break;
    case 0x2E:
        m_c.dos.verify = state.al() != 0;
        break;
    case 0x2F:
        files.GetDta(state);
        break;
    case 0x30:
        Version(state);
        break;
    case 0x31:
        return processes.Terminate(state, state.al(), 3, state.dx());
    case 0x33:
        BreakFlag(state);
        break;
    case 0x34:
        state.es() = kDosDataSegment;
        state.bx() = DosData::kInDosFlag;
        break;
    case 0x35:
        state.bx() = memory.Read16(0, static_cast<uint16_t>(state.al() * 4));
        state.es() = memory.Read16(0, static_cast<uint16_t>(state.al() * 4 + 2));
        break;
    case 0x36:
        files.FreeSpace(state);
        break;
    case 0x37:
        if (state.al() == 0) {
            state.set_dl(m_c.dos.switchCharacter);
            state.set_al(0);
        } else if (state.al() == 1) {
            m_c.dos.switchCharacter = state.dl();
            state.set_al(0);
        } else {
            state.set_al(0xFF);
        }
        break;
    case 0x38:
        Country(state);
        break;
    case 0x39:
        files.MakeFolder(state);
        break;
    case 0x3A:
        files.RemoveFolder(state);
        break;
    case 0x3B:
        files.ChangeFolder(state);
        break;
    case 0x3C:
        files.Create(state);
        break;
    case 0x3D:
        files.Open(state);
        break;
    case 0x3E:
        files.Close(state);
        break;
    case 0x3F:
        switch (files.Read(state)) {
        case CDosConsole::Read::Wait:
            return ServiceResult::Blocked;
        case CDosConsole::Read::Break:
            return Break(state);
        case CDosConsole::Read::Done:
            break;
        }
        break;
    case 0x40:
        files.Write(state);
        break;
    case 0x41:
        files.Delete(state);
        break;
    case 0x42:
        files.Seek(state);
        break;
    case 0x43:
        files.Attributes(state);
        break;
    case 0x44:
        files.Ioctl(state);
        break;
    case 0x45:
        files.Duplicate(state);
        break;
    case 0x46:
        files.ForceDuplicate(state);
        break;
    case 0x47:
        files.GetFolder(state);
        break;
    case 0x48:
        processes.Allocate(state);
        break;
    case 0x49:
        processes.Free(state);
        break;
    case 0x4A:
        processes.Resize(state);
        break;
    case 0x4B:
        m_c.host.OnExternalEvent(ExternalEvent::FileRead);
        return processes.Exec(state);
    case 0x4C:
        return processes.Terminate(state, state.al(), 0);
    case 0x4D:
        processes.ReturnCode(state);
        break;
    case 0x4E:
        files.FindFirst(state);
        break;
    case 0x4F:
        files.FindNext(state);
        break;
    case 0x50:
        m_c.dos.currentPsp = state.bx();
        break;
    case 0x51:
    case 0x62:
        state.bx() = m_c.dos.currentPsp;
        break;
    case 0x52:
        state.es() = kDosDataSegment;
        state.bx() = DosData::kListOfLists;
        break;
    case 0x54:
        state.set_al(m_c.dos.verify ? 1 : 0);
        break;
    case 0x56:
        files.Rename(state);
        break;
    case 0x57:
        files.FileTime(state);
        break;
    case 0x58:
        processes.Strategy(state);
        break;
    case 0x59:
        ExtendedError(state);
        break;
    case 0x5A:
        files.CreateTemporary(state);
        break;
    case 0x5B:
        files.CreateNew(state);
        break;
    case 0x63:
        if (state.al() == 0) {
            state.ds() = kDosDataSegment;
            state.si() = static_cast<uint16_t>(DosData::kDbcsTable + 2);
            state.set_al(0);
            DosState::Succeed(state);
        } else {
            state.set_al(0xFF);
        }
        break;
    case 0x65:
        CountryTables(state);
        break;
    case 0x66:
        CodePage(state);
        break;
    case 0x67:
        files.SetHandleCount(state);
        break;
    case 0x68:
        files.Commit(state);
        break;
    case 0x6C:
        files.ExtendedOpen(state);
        break;
    default:
        Unsupported(state, Name21(state.ah()));
        break;
    }
    return ServiceResult::Done;
}

void CDosKernel::Version(CpuState& state)
{
    if (state.al() == 1)
        state.set_bh(0x00);
    else
        state.set_bh(0xFF);
    state.set_al(m_c.dos.versionMajor);
    state.set_ah(m_c.dos.versionMinor);
    state.set_bl(0);
    state.cx() = 0;
}

void CDosKernel::BreakFlag(CpuState& state)
{
    switch (state.al()) {
    case 0x00:
        state.set_dl(m_c.dos.breakCheck ? 1 : 0);
        break;
    case 0x01:
        m_c.dos.breakCheck = state.dl() != 0;
        break;
    case 0x02: {
        bool old = m_c.dos.breakCheck;
        m_c.dos.breakCheck = state.dl() != 0;
        state.set_dl(old ? 1 : 0);
        break;
    }
    case 0x05:
        state.set_dl(3);
        break;
    case 0x06:
        state.set_bl(5);
        state.set_bh(0);
        state.dx() = 0;
        break;
    default:
        state.set_al(0xFF);
        break;
    }
}

void CDosKernel::Date(CpuState& state, bool set)
{
    if (set) {
        state.set_al(m_c.clock.SetDate(state.cx(), state.dh(), state.dl()) ? 0x00 : 0xFF);
        return;
    }
    const DosDateTime now = m_c.clock.Now();
    state.cx() = now.year;
    state.set_dh(static_cast<uint8_t>(now.month));
    state.set_dl(static_cast<uint8_t>(now.day));
    state.set_al(static_cast<uint8_t>(now.dayOfWeek));
}

void CDosKernel::Time(CpuState& state, bool set)
{
    if (set) {
        state.set_al(m_c.clock.SetTime(state.ch(), state.cl(), state.dh(), state.dl()) ? 0x00 : 0xFF);
        return;
    }
    const DosDateTime now = m_c.clock.Now();
    state.set_ch(static_cast<uint8_t>(now.hour));
    state.set_cl(static_cast<uint8_t>(now.minute));
    state.set_dh(static_cast<uint8_t>(now.second));
    state.set_dl(now.hundredths);
}

void CDosKernel::WriteCountryInfo(uint16_t segment, uint16_t offset)
{
    uint8_t info[kCountryInfoSize] = {};
    info[2] = '$';
    info[7] = ',';
    info[9] = '.';
    info[0x0B] = '-';
    info[0x0D] = ':';
    info[0x10] = 2;
    info[0x12] = static_cast<uint8_t>(kRetfOffset);
    info[0x13] = static_cast<uint8_t>(kRetfOffset >> 8);
    info[0x14] = static_cast<uint8_t>(kBiosSegment);
    info[0x15] = static_cast<uint8_t>(kBiosSegment >> 8);
    info[0x16] = ',';
    GuestMemory::WriteBytes(m_c.memory, segment, offset, info, sizeof info);
}

void CDosKernel::Country(CpuState& state)
{
    if (state.dx() == 0xFFFF) {
        DosState::Succeed(state);
        return;
    }
    WriteCountryInfo(state.ds(), state.dx());
    state.bx() = kCountryCode;
    state.ax() = kCountryCode;
    DosState::Succeed(state);
}

void CDosKernel::CountryTables(CpuState& state)
{
    CMemory& memory = m_c.memory;
    uint16_t es = state.es(), di = state.di();
    auto tablePointer = [&](uint8_t id, uint16_t table) {
        memory.Write8(es, di, id);
        memory.Write16(es, static_cast<uint16_t>(di + 1), table);
        memory.Write16(es, static_cast<uint16_t>(di + 3), kDosDataSegment);
        state.cx() = 5;
    };
    switch (state.al()) {
    case 0x01: {
        memory.Write8(es, di, 1);
        memory.Write16(es, static_cast<uint16_t>(di + 1), kCountryInfoSize + 4);
        memory.Write16(es, static_cast<uint16_t>(di + 3), kCountryCode);
        memory.Write16(es, static_cast<uint16_t>(di + 5), kCodePage);
        WriteCountryInfo(es, static_cast<uint16_t>(di + 7));
        state.cx() = kCountryInfoSize + 7;
        break;
    }
    case 0x02:
        tablePointer(2, DosData::kUppercaseTable);
        break;
    case 0x04:
        tablePointer(4, DosData::kFilenameUppercase);
        break;
    case 0x05:
        tablePointer(5, DosData::kFilenameTerminators);
        break;
    case 0x06:
        tablePointer(6, DosData::kCollatingTable);
        break;
    case 0x07:
        tablePointer(7, DosData::kDbcsTable);
        break;
    case 0x20:
        state.set_dl(UpperByte(state.dl()));
        break;
    case 0x21:
        for (uint16_t i = 0; i < state.cx(); ++i) {
            uint16_t at = static_cast<uint16_t>(state.dx() + i);
            memory.Write8(state.ds(), at, UpperByte(memory.Read8(state.ds(), at)));
        }
        break;
    case 0x22:
        for (uint16_t at = state.dx(); memory.Read8(state.ds(), at) != 0; ++at)
            memory.Write8(state.ds(), at, UpperByte(memory.Read8(state.ds(), at)));
        break;
    case 0x23: {
        uint8_t answer = UpperByte(state.dl());
        state.ax() = answer == 'Y' ? 1 : answer == 'N' ? 0 : 2;
        break;
    }
    default:
        m_c.dos.Fail(state, kErrInvalidFunction);
        return;
    }
    DosState::Succeed(state);
}

void CDosKernel::ParseName(CpuState& state)
{
    CMemory& memory = m_c.memory;
    std::string text = GuestMemory::ReadBytes(memory, state.ds(), state.si(), 128);
    uint8_t fcb[12];
    for (uint16_t i = 0; i < 12; ++i)
        fcb[i] = memory.Read8(state.es(), static_cast<uint16_t>(state.di() + i));
    size_t used = 0;
    auto exists = [this](uint8_t drive) { return m_c.files.DriveExists(static_cast<uint8_t>(drive - 1)); };
    state.set_al(DosPath::ParseFcbName(text, state.al(), exists, fcb, used));
    GuestMemory::WriteBytes(memory, state.es(), state.di(), fcb, sizeof fcb);
    state.si() = static_cast<uint16_t>(state.si() + used);
}

void CDosKernel::CodePage(CpuState& state)
{
    if (state.al() == 1) {
        state.bx() = kCodePage;
        state.dx() = kCodePage;
        DosState::Succeed(state);
    } else if (state.al() == 2) {
        m_c.dos.Answer(state, state.bx() == kCodePage ? kErrNone : kErrFileNotFound);
    } else {
        m_c.dos.Fail(state, kErrInvalidFunction);
    }
}

void CDosKernel::ExtendedError(CpuState& state)
{
    uint16_t error = m_c.dos.lastError;
    state.ax() = error;
    // Class, suggested action and locus as DOS gives them for the common errors.
    uint8_t errorClass = error == kErrNotEnoughMemory ? 1 : error == kErrFileNotFound || error == kErrPathNotFound ? 8 : 7;
    state.set_bh(errorClass);
    state.set_bl(error == kErrNone ? 0 : 4);
    state.set_ch(error == kErrNotEnoughMemory ? 5 : 2);
}

}  // namespace dos
