// Noticing changes of the document's file.
#include "doc/DiskWatch.h"

#include "framework/Unicode.h"

FileStamp FileStamp::Of(const std::string& path)
{
    FileStamp stamp;
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(Widen(path).c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return stamp;
    stamp.bExists = true;
    stamp.lastWrite = data.ftLastWriteTime;
    stamp.nSize = (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return stamp;
}

bool FileStamp::SameAs(const FileStamp& other) const
{
    if (bExists != other.bExists)
        return false;
    return !bExists || (nSize == other.nSize && ::CompareFileTime(&lastWrite, &other.lastWrite) == 0);
}

void CDiskWatch::Record(const std::string& path)
{
    Record(path, FileStamp::Of(path));
}

void CDiskWatch::Record(const std::string& path, const FileStamp& stamp)
{
    m_strPath = path;
    m_stamp = stamp;
}

void CDiskWatch::Forget()
{
    m_strPath.clear();
    m_stamp = FileStamp{};
}

DiskChange CDiskWatch::Check()
{
    if (m_strPath.empty())
        return DiskChange::None;
    const FileStamp now = FileStamp::Of(m_strPath);
    if (now.SameAs(m_stamp))
        return DiskChange::None;
    m_stamp = now;
    return now.bExists ? DiskChange::Changed : DiskChange::Gone;
}
