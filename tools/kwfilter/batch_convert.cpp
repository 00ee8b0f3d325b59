// kwfilter convert IN... --to EXT: converts many designs at once.
//
// Each file is converted in a process of its own, forked from this one. The library's
// settings, last error code and the condensed designs' stagger counters are process-wide,
// so a fresh copy of this process per file keeps workers from racing on them and makes the
// result of every file independent of how many run at once and in which order.
#include "batch_convert.h"

#include "core/part_set.h"
#include "design_io.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <map>
#include <set>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

namespace {

struct Job {
    std::string in;
    std::string out;
    std::string refusal;  // set when the file is not converted at all
};

enum class Outcome : char { Converted = 'c', Split = 's', Failed = 'f' };

struct Result {
    Outcome outcome = Outcome::Failed;
    std::string message;
};

std::string Lower(std::string s)
{
    for (char& c : s) c = (char)std::tolower((unsigned char)c);
    return s;
}

std::string Extension(const std::string& path)
{
    size_t slash = path.rfind('/');
    size_t dot = path.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return "";
    return Lower(path.substr(dot));
}

std::string Stem(const std::string& path)
{
    size_t slash = path.rfind('/');
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    size_t dot = name.rfind('.');
    return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

std::string Folder(const std::string& path)
{
    size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string JoinPath(const std::string& dir, const std::string& name)
{
    if (dir.empty() || dir == ".") return name;
    return dir.back() == '/' ? dir + name : dir + "/" + name;
}

bool IsFolder(const std::string& path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// The same file as far as the file system can tell: the same device and inode, or the
// same absolute name where the file does not exist yet.
std::string Identity(const std::string& path)
{
    struct stat st;
    char buf[64];
    if (stat(path.c_str(), &st) == 0) {
        std::snprintf(buf, sizeof buf, "i%llu:%llu", (unsigned long long)st.st_dev, (unsigned long long)st.st_ino);
        return buf;
    }
    char dir[PATH_MAX];
    std::string id(1, 'p');
    if (realpath(Folder(path).c_str(), dir)) {
        size_t slash = path.rfind('/');
        id += JoinPath(dir, slash == std::string::npos ? path : path.substr(slash + 1));
    } else {
        id += path;
    }
    return id;
}

// A design file the library reads, by its extension.
bool IsDesignFile(const std::string& name)
{
    const FormatInfo* f = FindFormat(name.c_str());
    return f && (f->create || f->nSource == 13 || f->nSource == 14);
}

// The files of a folder that are designs, by name. The members of a part set after the
// first are left out: the first (base_A.ext) is read as the whole set.
std::vector<std::string> FolderDesigns(const std::string& dir)
{
    std::vector<std::string> names;
    if (DIR* d = opendir(dir.c_str())) {
        while (dirent* e = readdir(d)) {
            std::string name = e->d_name;
            if (name[0] == '.' || !IsDesignFile(name)) continue;
            if (IsFolder(JoinPath(dir, name))) continue;
            names.push_back(name);
        }
        closedir(d);
    }
    std::sort(names.begin(), names.end());
    std::set<std::string> lower;
    for (const auto& n : names) lower.insert(Lower(n));
    std::vector<std::string> out;
    for (const auto& n : names) {
        size_t len = n.size();
        bool laterMember = false;
        if (len >= 6 && n[len - 6] == '_' && std::isalpha((unsigned char)n[len - 5]) &&
            std::tolower((unsigned char)n[len - 5]) != 'a') {
            std::string first = Lower(n);
            first[len - 5] = 'a';
            laterMember = lower.count(first) > 0;
        }
        if (!laterMember) out.push_back(JoinPath(dir, n));
    }
    return out;
}

// Output names: the input's name with the new extension, in the output folder (or beside
// the input). A set read from base_A.ext is written as base.ext. Inputs that would give the
// same name keep their old extension in it (rose_dst.pes, rose_exp.pes).
std::vector<Job> PlanJobs(const std::vector<std::string>& inputs, const std::string& outDir, const std::string& ext)
{
    std::vector<Job> jobs;
    std::map<std::string, int> uses;
    auto baseOf = [&](const std::string& in) {
        std::string stem = Stem(in);
        if (partset::IsSetName(in.c_str())) stem.resize(stem.size() - 2);
        return JoinPath(outDir.empty() ? Folder(in) : outDir, stem);
    };
    for (const auto& in : inputs) ++uses[Lower(baseOf(in) + ext)];
    std::set<std::string> inputIds;
    for (const auto& in : inputs) inputIds.insert(Identity(in));
    for (const auto& in : inputs) {
        Job j;
        j.in = in;
        std::string base = baseOf(in);
        if (uses[Lower(base + ext)] > 1) {
            base += '_';
            base += Extension(in).substr(1);
        }
        j.out = base + ext;
        // Neither the file nor any part of a set written for it may replace an input.
        bool clash = inputIds.count(Identity(j.out)) > 0;
        for (int k = 0; k < partset::kMaxParts && !clash; ++k)
            clash = inputIds.count(Identity(partset::PartName(j.out.c_str(), k))) > 0;
        if (clash) {
            j.refusal = "the output ";
            j.refusal += j.out;
            j.refusal += " would overwrite an input; not converted";
        }
        jobs.push_back(j);
    }
    return jobs;
}

// ---- the worker

std::string* g_pMessages = nullptr;
bool g_bSplit = false;

void CollectMessage(const char* text, const char* caption)
{
    if (caption && !std::strcmp(caption, "Warning") && text && std::strstr(text, "will be split into multiple files")) {
        g_bSplit = true;
        return;
    }
    if (!g_pMessages) return;
    if (!g_pMessages->empty()) *g_pMessages += "; ";
    *g_pMessages += text ? text : "";
}

Result ConvertOne(const Job& job)
{
    Result r;
    std::string messages;
    g_pMessages = &messages;
    g_bSplit = false;
    SetMessageBoxHandler(&CollectMessage);
    GetSetup()->m_bShowMessages = 1;
    GetSetup()->m_bMessageThread = 0;
    SetMessageBoxesSynchronous(true);

    LoadedDesign d;
    if (!LoadDesign(job.in.c_str(), d)) {
        r.message = messages.empty() ? "the design could not be read (error " + std::to_string(GetSetup()->m_nLastError) + ")"
                                     : messages;
        return r;
    }
    messages.clear();
    if (!SaveDesign(job.out.c_str(), d.Object())) {
        r.message = messages.empty() ? "the design could not be written (error " + std::to_string(GetSetup()->m_nLastError) + ")"
                                     : messages;
        return r;
    }
    r.outcome = g_bSplit ? Outcome::Split : Outcome::Converted;
    return r;
}

struct Running {
    pid_t pid;
    int fd;
    size_t index;
};

pid_t StartWorker(const Job& job, int* pFd)
{
    int p[2];
    if (pipe(p) != 0) return -1;
    std::fflush(stdout);
    std::fflush(stderr);
    pid_t pid = fork();
    if (pid < 0) {
        close(p[0]);
        close(p[1]);
        return -1;
    }
    if (pid == 0) {
        close(p[0]);
        // The worker's own lines (the library's default reporting) would break the progress
        // line; everything it has to say travels back through the pipe.
        int null = open("/dev/null", O_WRONLY);
        if (null >= 0) {
            dup2(null, STDOUT_FILENO);
            dup2(null, STDERR_FILENO);
        }
        Result r = ConvertOne(job);
        std::string msg = std::string(1, (char)r.outcome) + r.message.substr(0, 4000);
        size_t off = 0;
        while (off < msg.size()) {
            ssize_t n = write(p[1], msg.data() + off, msg.size() - off);
            if (n <= 0) break;
            off += (size_t)n;
        }
        _exit(0);
    }
    close(p[1]);
    *pFd = p[0];
    return pid;
}

Result Collect(int fd, int status)
{
    std::string buf;
    char chunk[4096];
    ssize_t n;
    while ((n = read(fd, chunk, sizeof chunk)) > 0) buf.append(chunk, (size_t)n);
    close(fd);
    Result r;
    if (!buf.empty() && (buf[0] == 'c' || buf[0] == 's' || buf[0] == 'f')) {
        r.outcome = (Outcome)buf[0];
        r.message = buf.substr(1);
    } else if (WIFSIGNALED(status)) {
        r.message = std::string("the converter stopped on signal ") + strsignal(WTERMSIG(status));
    } else {
        r.message = "the converter ended without a result";
    }
    return r;
}

int Usage(const char* why)
{
    if (why) std::fprintf(stderr, "kwfilter convert: %s\n", why);
    std::fprintf(stderr, "usage: kwfilter convert IN OUT\n       kwfilter convert IN... --to EXT [--out DIR] [--jobs N]\n");
    return 2;
}

} // namespace

bool IsBatchConvert(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i)
        if (!std::strcmp(argv[i], "--to") || !std::strncmp(argv[i], "--to=", 5)) return true;
    return false;
}

int RunBatchConvert(int argc, char** argv)
{
    std::vector<std::string> args;
    std::string ext, outDir;
    long jobsWanted = sysconf(_SC_NPROCESSORS_ONLN);
    if (jobsWanted < 1) jobsWanted = 1;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        auto value = [&](const char* opt) -> const char* {
            size_t n = std::strlen(opt);
            if (a.compare(0, n, opt) == 0 && a.size() > n && a[n] == '=') return argv[i] + n + 1;
            if (a == opt && i + 1 < argc) return argv[++i];
            return nullptr;
        };
        if (a.rfind("--to", 0) == 0) {
            const char* v = value("--to");
            if (!v) return Usage("--to needs an extension");
            ext = v;
        } else if (a.rfind("--out", 0) == 0) {
            const char* v = value("--out");
            if (!v) return Usage("--out needs a folder");
            outDir = v;
        } else if (a.rfind("--jobs", 0) == 0) {
            const char* v = value("--jobs");
            char* end = nullptr;
            jobsWanted = v ? std::strtol(v, &end, 10) : 0;
            if (!v || *end || jobsWanted < 1 || jobsWanted > 256) return Usage("--jobs needs a number from 1 to 256");
        } else if (a.size() > 1 && a[0] == '-') {
            return Usage(("unknown option " + a).c_str());
        } else {
            args.push_back(a);
        }
    }
    if (args.empty()) return Usage("needs at least one input file or folder");
    if (!ext.empty() && ext[0] != '.') ext.insert(0, 1, '.');
    ext = Lower(ext);
    std::string probe = "x";
    probe += ext;
    const FormatInfo* target = FindFormat(probe.c_str());
    if (!target || !target->bWrites) return Usage(("no format writes " + ext).c_str());

    std::vector<std::string> inputs;
    for (const auto& a : args) {
        if (IsFolder(a)) {
            auto found = FolderDesigns(a);
            inputs.insert(inputs.end(), found.begin(), found.end());
        } else {
            inputs.push_back(a);
        }
    }
    if (!outDir.empty()) {
        if (mkdir(outDir.c_str(), 0777) != 0 && errno != EEXIST) {
            std::fprintf(stderr, "kwfilter convert: cannot create %s: %s\n", outDir.c_str(), std::strerror(errno));
            return 1;
        }
        if (!IsFolder(outDir)) return Usage((outDir + " is not a folder").c_str());
    }
    std::vector<Job> jobs = PlanJobs(inputs, outDir, ext);

    const bool terminal = isatty(STDERR_FILENO);
    std::vector<Result> results(jobs.size());
    size_t next = 0, done = 0, failed = 0;
    std::vector<Running> running;
    auto progress = [&](size_t i) {
        const Result& r = results[i];
        if (terminal) {
            std::fprintf(stderr, "\r\033[Kconverting: %zu of %zu done, %zu failed", done, jobs.size(), failed);
            std::fflush(stderr);
        } else if (r.outcome == Outcome::Failed) {
            std::printf("failed     %s: %s\n", jobs[i].in.c_str(), r.message.c_str());
        } else {
            std::printf("%s %s -> %s\n", r.outcome == Outcome::Split ? "split     " : "converted ", jobs[i].in.c_str(),
                        jobs[i].out.c_str());
        }
    };
    while (done < jobs.size()) {
        while (next < jobs.size() && (long)running.size() < jobsWanted) {
            size_t i = next++;
            if (!jobs[i].refusal.empty()) {
                results[i].message = jobs[i].refusal;
                ++done;
                ++failed;
                progress(i);
                continue;
            }
            int fd = -1;
            pid_t pid = StartWorker(jobs[i], &fd);
            if (pid < 0) {
                results[i].message = std::string("cannot start a converter: ") + std::strerror(errno);
                ++done;
                ++failed;
                progress(i);
                continue;
            }
            running.push_back({pid, fd, i});
        }
        if (running.empty()) continue;
        int status = 0;
        pid_t pid = waitpid(-1, &status, 0);
        if (pid < 0) {
            if (errno == EINTR) continue;
            break;
        }
        auto it = std::find_if(running.begin(), running.end(), [&](const Running& r) { return r.pid == pid; });
        if (it == running.end()) continue;
        size_t i = it->index;
        results[i] = Collect(it->fd, status);
        running.erase(it);
        ++done;
        if (results[i].outcome == Outcome::Failed) ++failed;
        progress(i);
    }
    if (terminal) std::fprintf(stderr, "\n");

    size_t converted = 0, split = 0;
    for (const auto& r : results) {
        if (r.outcome == Outcome::Converted) ++converted;
        if (r.outcome == Outcome::Split) ++split;
    }
    std::printf("converted %zu, split into part sets %zu, failed %zu (of %zu)\n", converted, split, failed, jobs.size());
    for (size_t i = 0; i < jobs.size(); ++i)
        if (results[i].outcome == Outcome::Failed)
            std::printf("  failed: %s: %s\n", jobs[i].in.c_str(), results[i].message.c_str());
    return failed ? 1 : 0;
}
