#include "platform/message.h"

#include <atomic>
#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <pthread.h>
#include <sched.h>
#include <thread>

namespace {

void DefaultHandler(const char* text, const char* caption)
{
    std::fprintf(stderr, "%s: %s\n", caption ? caption : "", text ? text : "");
}

std::atomic<MessageBoxHandler> g_handler{DefaultHandler};
std::atomic<bool> g_synchronous{false};

} // namespace

void SetMessageBoxHandler(MessageBoxHandler handler)
{
    g_handler.store(handler ? handler : DefaultHandler);
}

MessageBoxHandler GetMessageBoxHandler()
{
    return g_handler.load();
}

void SetMessageBoxesSynchronous(bool bSynchronous)
{
    g_synchronous.store(bSynchronous);
}

bool MessageBoxesSynchronous()
{
    return g_synchronous.load();
}

int KwMessageBox(const char* text, const char* caption, UINT)
{
    g_handler.load()(text ? text : "", caption ? caption : "");
    return IDOK;
}

int AfxMessageBox(const char* text, UINT type)
{
    return KwMessageBox(text, "kwfilter", type);
}

void KwMessageBoxOnWorker(const char* text, const char* caption)
{
    std::string t = text ? text : "", c = caption ? caption : "";
    MessageBoxHandler handler = g_handler.load();
    try {
        std::thread worker([t = std::move(t), c = std::move(c), handler] {
            sched_param param{};
            pthread_setschedparam(pthread_self(), SCHED_IDLE, &param);
            handler(t.c_str(), c.c_str());
        });
        worker.detach();
    } catch (...) {
        // No thread to be had: show it here rather than lose it.
        handler(text ? text : "", caption ? caption : "");
    }
}

void Sleep(DWORD milliseconds)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

std::string FormatText(const char* format, ...)
{
    va_list ap;
    va_start(ap, format);
    va_list copy;
    va_copy(copy, ap);
    int n = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string out;
    if (n > 0) {
        out.resize((size_t)n + 1);
        std::vsnprintf(out.data(), out.size(), format, ap);
        out.resize((size_t)n);
    }
    va_end(ap);
    return out;
}

std::string GetTempDirectory()
{
    const char* env = std::getenv("TMPDIR");
    std::string dir = env && *env ? env : "/tmp";
    while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
    return dir;
}

bool AppendTextLine(const std::string& path, const std::string& line)
{
    std::FILE* f = std::fopen(path.c_str(), "a");
    if (!f) return false;
    bool ok = std::fputs(line.c_str(), f) >= 0;
    return std::fclose(f) == 0 && ok;
}
