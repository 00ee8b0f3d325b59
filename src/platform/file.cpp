#include "platform/file.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

namespace {
constexpr size_t kWriteBufferSize = 64 * 1024;
}

int CFileException::OsErrorToCause(long osError)
{
    switch (osError) {
    case ENOENT: return fileNotFound;
    case ENOTDIR: case ENAMETOOLONG: return badPath;
    case EMFILE: case ENFILE: return tooManyOpenFiles;
    case EACCES: case EPERM: case EROFS: return accessDenied;
    case ENOSPC: case EFBIG: case EDQUOT: return diskFull;
    case ESPIPE: case EINVAL: return badSeek;
    case EIO: return hardIO;
    default: return genericException;
    }
}

void CFileException::ThrowOsError(long osError, const char* fileName)
{
    throw new CFileException(OsErrorToCause(osError), osError, fileName);
}

CFile::CFile() = default;

CFile::~CFile()
{
    if (m_fd >= 0) Abort();
    delete[] m_pWriteBuf;
}

BOOL CFile::Open(const char* fileName, UINT openFlags, CFileException* error)
{
    if (m_fd >= 0) Abort();
    m_strPath = fileName ? fileName : "";
    m_strTempPath.clear();
    m_nWriteLen = 0;
    int access = openFlags & 3;
    m_bWritable = access == modeWrite || access == modeReadWrite;
    int flags = access == modeWrite ? O_WRONLY : access == modeReadWrite ? O_RDWR : O_RDONLY;
    flags |= O_CLOEXEC;
    int fd;
    if (m_bWritable && (openFlags & modeReplaceOnClose)) {
        // Write beside the target so that the final rename stays on one file system.
        std::string tmpl = m_strPath + ".kwtmpXXXXXX";
        fd = mkostemp(tmpl.data(), O_CLOEXEC);
        if (fd >= 0) {
            m_strTempPath = tmpl;
            struct stat st;
            mode_t mode = 0666;
            if (stat(m_strPath.c_str(), &st) == 0) {
                mode = st.st_mode & 07777;
            } else {
                mode_t mask = umask(0);
                umask(mask);
                mode &= ~mask;
            }
            fchmod(fd, mode);
        }
    } else {
        if (openFlags & modeCreate) {
            flags |= O_CREAT;
            if (!(openFlags & modeNoTruncate)) flags |= O_TRUNC;
        }
        fd = ::open(m_strPath.c_str(), flags, 0666);
    }
    if (fd < 0) {
        if (error) {
            error->m_lOsError = errno;
            error->m_cause = CFileException::OsErrorToCause(errno);
            error->m_strFileName = m_strPath;
        }
        return FALSE;
    }
    m_fd = fd;
    if (m_bWritable && !m_pWriteBuf) m_pWriteBuf = new unsigned char[kWriteBufferSize];
    return TRUE;
}

void CFile::FlushBuffer()
{
    size_t done = 0;
    while (done < m_nWriteLen) {
        ssize_t n = ::write(m_fd, m_pWriteBuf + done, m_nWriteLen - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            int err = errno;
            m_nWriteLen = 0;
            CFileException::ThrowOsError(err, m_strPath.c_str());
        }
        done += (size_t)n;
    }
    m_nWriteLen = 0;
}

UINT CFile::Read(void* buffer, UINT count)
{
    if (m_fd < 0) CFileException::ThrowOsError(EBADF, m_strPath.c_str());
    if (m_nWriteLen) FlushBuffer();
    size_t done = 0;
    while (done < count) {
        ssize_t n = ::read(m_fd, (char*)buffer + done, count - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            CFileException::ThrowOsError(errno, m_strPath.c_str());
        }
        if (n == 0) break;
        done += (size_t)n;
    }
    return (UINT)done;
}

void CFile::Write(const void* buffer, UINT count)
{
    if (m_fd < 0 || !m_bWritable) CFileException::ThrowOsError(EBADF, m_strPath.c_str());
    const unsigned char* src = (const unsigned char*)buffer;
    if (m_nWriteLen + count > kWriteBufferSize) {
        FlushBuffer();
        if (count >= kWriteBufferSize) {
            m_nWriteLen = count;
            unsigned char* saved = m_pWriteBuf;
            // Large blocks go straight to the file.
            m_pWriteBuf = const_cast<unsigned char*>(src);
            try {
                FlushBuffer();
            } catch (...) {
                m_pWriteBuf = saved;
                throw;
            }
            m_pWriteBuf = saved;
            return;
        }
    }
    std::memcpy(m_pWriteBuf + m_nWriteLen, src, count);
    m_nWriteLen += count;
}

long CFile::Seek(long offset, UINT from)
{
    if (m_fd < 0) CFileException::ThrowOsError(EBADF, m_strPath.c_str());
    if (m_nWriteLen) FlushBuffer();
    int whence = from == current ? SEEK_CUR : from == end ? SEEK_END : SEEK_SET;
    off_t pos = ::lseek(m_fd, (off_t)offset, whence);
    if (pos < 0) CFileException::ThrowOsError(errno, m_strPath.c_str());
    return (long)pos;
}

uint64_t CFile::GetLength() const
{
    if (m_fd < 0) return 0;
    struct stat st;
    if (fstat(m_fd, &st) != 0) return 0;
    return (uint64_t)st.st_size + m_nWriteLen;
}

uint64_t CFile::GetPosition() const
{
    if (m_fd < 0) return 0;
    off_t pos = ::lseek(m_fd, 0, SEEK_CUR);
    return pos < 0 ? 0 : (uint64_t)pos + m_nWriteLen;
}

void CFile::Flush()
{
    if (m_fd >= 0 && m_nWriteLen) FlushBuffer();
}

void CFile::Close()
{
    if (m_fd < 0) return;
    try {
        if (m_nWriteLen) FlushBuffer();
    } catch (...) {
        Discard();
        throw;
    }
    int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0 && m_bWritable) {
        int err = errno;
        if (!m_strTempPath.empty()) ::unlink(m_strTempPath.c_str());
        m_strTempPath.clear();
        CFileException::ThrowOsError(err, m_strPath.c_str());
    }
    if (!m_strTempPath.empty()) {
        std::string temp;
        temp.swap(m_strTempPath);
        if (::rename(temp.c_str(), m_strPath.c_str()) != 0) {
            int err = errno;
            ::unlink(temp.c_str());
            CFileException::ThrowOsError(err, m_strPath.c_str());
        }
    }
}

void CFile::Discard()
{
    m_nWriteLen = 0;
    if (m_fd >= 0) ::close(m_fd);
    m_fd = -1;
    if (!m_strTempPath.empty()) ::unlink(m_strTempPath.c_str());
    m_strTempPath.clear();
}

void CFile::Abort()
{
    Discard();
}

void CFile::Remove(const char* fileName)
{
    if (::unlink(fileName) != 0) CFileException::ThrowOsError(errno, fileName);
}

void CFile::Rename(const char* oldName, const char* newName)
{
    if (::rename(oldName, newName) != 0) CFileException::ThrowOsError(errno, oldName);
}

// ---- CMemFile

CMemFile::CMemFile(UINT growBytes) : m_nGrowBytes(growBytes ? growBytes : 1024) {}

CMemFile::CMemFile(BYTE* buffer, UINT size, UINT growBytes) : m_nGrowBytes(0)
{
    Attach(buffer, size, growBytes);
}

CMemFile::~CMemFile()
{
    if (m_bAutoDelete) std::free(m_pBuffer);
}

void CMemFile::Attach(BYTE* buffer, UINT size, UINT growBytes)
{
    if (m_bAutoDelete) std::free(m_pBuffer);
    m_pBuffer = buffer;
    m_nBufferSize = size;
    // As in the framework: a fixed buffer (growBytes 0) holds data; a growable one starts empty.
    m_nFileSize = growBytes == 0 ? size : 0;
    m_nGrowBytes = growBytes;
    m_nPosition = 0;
    m_bAutoDelete = false;
}

BYTE* CMemFile::Detach()
{
    BYTE* b = m_pBuffer;
    m_pBuffer = nullptr;
    m_nBufferSize = m_nFileSize = m_nPosition = 0;
    m_bAutoDelete = true;
    m_nGrowBytes = 1024;
    return b;
}

void CMemFile::Grow(size_t newSize)
{
    if (newSize <= m_nBufferSize) return;
    if (m_nGrowBytes == 0 || !m_bAutoDelete) CFileException::ThrowOsError(ENOSPC);
    size_t size = m_nBufferSize ? m_nBufferSize : m_nGrowBytes;
    while (size < newSize) {
        size_t next = size + (size > m_nGrowBytes ? size : m_nGrowBytes);
        if (next < size) CFileException::ThrowOsError(ENOMEM);
        size = next;
    }
    BYTE* p = (BYTE*)std::realloc(m_pBuffer, size);
    if (!p) CFileException::ThrowOsError(ENOMEM);
    m_pBuffer = p;
    m_nBufferSize = size;
}

UINT CMemFile::Read(void* buffer, UINT count)
{
    if (m_nPosition >= m_nFileSize) return 0;
    size_t n = m_nFileSize - m_nPosition;
    if (n > count) n = count;
    std::memcpy(buffer, m_pBuffer + m_nPosition, n);
    m_nPosition += n;
    return (UINT)n;
}

void CMemFile::Write(const void* buffer, UINT count)
{
    if (!count) return;
    size_t end = m_nPosition + count;
    if (end > m_nBufferSize) Grow(end);
    if (m_nPosition > m_nFileSize) std::memset(m_pBuffer + m_nFileSize, 0, m_nPosition - m_nFileSize);
    std::memcpy(m_pBuffer + m_nPosition, buffer, count);
    m_nPosition = end;
    if (end > m_nFileSize) m_nFileSize = end;
}

long CMemFile::Seek(long offset, UINT from)
{
    long long base = from == current ? (long long)m_nPosition : from == end ? (long long)m_nFileSize : 0;
    long long pos = base + offset;
    if (pos < 0) CFileException::ThrowOsError(EINVAL);
    m_nPosition = (size_t)pos;
    return (long)pos;
}

void CMemFile::SetLength(uint64_t newLength)
{
    if (newLength > m_nBufferSize) Grow((size_t)newLength);
    if (newLength > m_nFileSize) std::memset(m_pBuffer + m_nFileSize, 0, (size_t)newLength - m_nFileSize);
    m_nFileSize = (size_t)newLength;
    if (m_nPosition > m_nFileSize) m_nPosition = m_nFileSize;
}

void CMemFile::Close()
{
    // The memory stays with the object until it is destroyed or detached.
    m_nPosition = 0;
}
