// Helpers shared by the test programs.
#pragma once

#include "kwfilter.h"

#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <iterator>
#include <mutex>
#include <set>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace testutil {

// A fresh directory, removed with its contents at the end of the test.
class TempDir {
public:
    TempDir()
    {
        std::string tmpl = GetTempDirectory() + "/kwtest-XXXXXX";
        m_path = mkdtemp(tmpl.data()) ? tmpl : "";
    }
    ~TempDir() { std::system(("rm -rf '" + m_path + "'").c_str()); }
    const std::string& Path() const { return m_path; }
    std::string File(const std::string& name) const { return m_path + "/" + name; }
    std::set<std::string> List() const
    {
        std::set<std::string> names;
        if (DIR* d = opendir(m_path.c_str())) {
            while (dirent* e = readdir(d)) {
                std::string n = e->d_name;
                if (n != "." && n != "..") names.insert(n);
            }
            closedir(d);
        }
        return names;
    }

private:
    std::string m_path;
};

// Runs a shell command; its exit status (-1 when it did not exit) and what it printed.
struct CommandResult {
    int status;
    std::string out;
};

inline CommandResult RunShell(const std::string& command)
{
    CommandResult r{-1, ""};
    FILE* p = popen(command.c_str(), "r");
    if (!p) return r;
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0) r.out.append(buf, n);
    int st = pclose(p);
    r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    return r;
}

inline std::vector<unsigned char> ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::string& path, const std::vector<unsigned char>& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write((const char*)bytes.data(), (std::streamsize)bytes.size());
}

// Records the message boxes shown while it lives, and turns the worker thread off.
class MessageCapture {
public:
    struct Box {
        std::string text, caption;
        std::thread::id thread;
    };
    MessageCapture(bool showMessages = true, bool thread = false)
    {
        Instance() = this;
        CKwFilter* s = GetSetup();
        m_saved = {s->m_bShowMessages, s->m_bMessageThread};
        m_savedLog = s->m_strErrorLog;
        s->m_bShowMessages = showMessages;
        s->m_bMessageThread = thread;
        SetMessageBoxHandler(&Handler);
    }
    ~MessageCapture()
    {
        SetMessageBoxHandler(nullptr);
        CKwFilter* s = GetSetup();
        s->m_bShowMessages = m_saved.first;
        s->m_bMessageThread = m_saved.second;
        s->m_strErrorLog = m_savedLog;
        Instance() = nullptr;
    }
    std::vector<Box> Boxes()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_boxes;
    }
    std::vector<std::string> Texts()
    {
        std::vector<std::string> t;
        for (const auto& b : Boxes()) t.push_back(b.text);
        return t;
    }

private:
    static MessageCapture*& Instance()
    {
        static MessageCapture* p = nullptr;
        return p;
    }
    static void Handler(const char* text, const char* caption)
    {
        MessageCapture* self = Instance();
        if (!self) return;
        std::lock_guard<std::mutex> lock(self->m_mutex);
        self->m_boxes.push_back({text, caption, std::this_thread::get_id()});
    }
    std::mutex m_mutex;
    std::vector<Box> m_boxes;
    std::pair<int, int> m_saved;
    std::string m_savedLog;
};

// Installs a modal driver for the life of the object and puts the one before back.
class Driver {
public:
    explicit Driver(ModalDriver d) { m_prev = SetModalDriver(std::move(d)); }
    ~Driver() { SetModalDriver(std::move(m_prev)); }
    Driver(const Driver&) = delete;
    Driver& operator=(const Driver&) = delete;

private:
    ModalDriver m_prev;
};

// Imports a file through a filter into a StitchList sized by GetMaxNoStitches.
inline int Import(CFilter& f, const std::string& path, StitchList& l)
{
    long max = f.GetMaxNoStitches(path.c_str());
    if (max < 0) return -1;
    l.Clear();
    l.Reserve(max + 16);
    return f.ImportFile(path.c_str(), &l.nColors, l.colors.data(), &l.nStitches, l.points.data(), l.types.data());
}

inline int Export(CFilter& f, const std::string& path, StitchList& l)
{
    return f.ExportFile(path.c_str(), l.nColors, l.colors.data(), l.nStitches, l.points.data(), l.types.data());
}

// A stitch list from points with one colour block per entry of starts.
inline StitchList MakeList(const std::vector<tagPOINT>& pts, const std::vector<int>& starts = {0},
                           const std::vector<unsigned char>& types = {})
{
    StitchList l;
    l.points = pts;
    l.types = types.empty() ? std::vector<unsigned char>(pts.size(), 0) : types;
    l.nStitches = (long)pts.size();
    for (int s : starts) {
        l.colors[(size_t)l.nColors] = COLORCHG{s, (uint16_t)l.nColors, 0, 0};
        ++l.nColors;
    }
    WriteClosingRecord(l.colors.data(), l.nColors, l.nStitches);
    return l;
}

} // namespace testutil
