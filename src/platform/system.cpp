#include "platform/system.h"

#include <mutex>

namespace {

std::mutex& DirectoryLock()
{
    static std::mutex lock;
    return lock;
}

std::string& Directory()
{
    static std::string dir = "/usr/lib/kwfilter";
    return dir;
}

} // namespace

void SetSystemDirectory(const char* path)
{
    std::lock_guard<std::mutex> guard(DirectoryLock());
    Directory() = path && *path ? path : "/usr/lib/kwfilter";
}

std::string GetSystemDirectory()
{
    std::lock_guard<std::mutex> guard(DirectoryLock());
    return Directory();
}
