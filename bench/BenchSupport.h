#pragma once
// What the benchmarks share: a temporary folder, SQLite as a peer, medians and percentiles of
// repeated runs, goals printed with PASS or FAIL, and counting a stretch's file-system calls
// with strace, as the operating system sees them.

#include <sqlite3.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace bench {

using Clock = std::chrono::steady_clock;

inline double seconds(Clock::time_point since) {
    return std::chrono::duration<double>(Clock::now() - since).count();
}

inline double milliseconds(Clock::time_point since) {
    return std::chrono::duration<double, std::milli>(Clock::now() - since).count();
}

// The value below which the given share of the samples lie (0.5: the median).
inline double percentile(std::vector<double> samples, double share) {
    if (samples.empty()) return 0;
    std::sort(samples.begin(), samples.end());
    const size_t at = std::min(samples.size() - 1, size_t(share * double(samples.size())));
    return samples[at];
}

inline double median(std::vector<double> samples) {
    return percentile(std::move(samples), 0.5);
}

inline std::string format(const char* pattern, double value) {
    char buf[64];
    std::snprintf(buf, sizeof buf, pattern, value);
    return buf;
}

class TempFolder {
public:
    explicit TempFolder(const char* name) {
        const char* base = std::getenv("TMPDIR");
        std::string pattern = std::string(base && *base ? base : "/tmp") + "/" + name + "-XXXXXX";
        if (!::mkdtemp(pattern.data())) throw std::runtime_error("cannot create a temporary folder");
        m_path = pattern;
    }
    ~TempFolder() {
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::string& path() const { return m_path; }

private:
    std::string m_path;
};

class Sqlite {
public:
    explicit Sqlite(const std::string& path) {
        if (sqlite3_open(path.c_str(), &m_db) != SQLITE_OK) throw std::runtime_error("sqlite: cannot open " + path);
    }
    ~Sqlite() {
        for (sqlite3_stmt* st : m_statements) sqlite3_finalize(st);
        sqlite3_close(m_db);
    }
    Sqlite(const Sqlite&) = delete;
    Sqlite& operator=(const Sqlite&) = delete;

    void exec(const std::string& sql) {
        char* error = nullptr;
        if (sqlite3_exec(m_db, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
            const std::string text = error ? error : "unknown error";
            sqlite3_free(error);
            throw std::runtime_error("sqlite: " + text + " in " + sql);
        }
    }
    // A statement finalized with the database.
    sqlite3_stmt* prepare(const std::string& sql) {
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(m_db, sql.c_str(), -1, &st, nullptr) != SQLITE_OK)
            throw std::runtime_error(std::string("sqlite: ") + sqlite3_errmsg(m_db) + " in " + sql);
        m_statements.push_back(st);
        return st;
    }
    // Runs a statement that returns no rows (or ignores them) and resets it.
    void run(sqlite3_stmt* st) {
        int rc;
        while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
        }
        sqlite3_reset(st);
        if (rc != SQLITE_DONE) throw std::runtime_error(std::string("sqlite: ") + sqlite3_errmsg(m_db));
    }
    sqlite3* handle() { return m_db; }

private:
    sqlite3* m_db = nullptr;
    std::vector<sqlite3_stmt*> m_statements;
};

struct Goal {
    std::string text;
    bool pass;
};

inline bool printGoals(const char* title, const std::vector<Goal>& goals) {
    std::printf("\n%s\n", title);
    bool allPass = true;
    for (const Goal& g : goals) {
        std::printf("  %s  %s\n", g.pass ? "PASS" : "FAIL", g.text.c_str());
        allPass = allPass && g.pass;
    }
    std::fflush(stdout);
    return allPass;
}

// ---- file-system calls as the operating system counts them ------------------------------

// The calls that reach the file system (a round trip each on a network share): opening,
// reading, writing, syncing, locking, sizes and names. Thread and memory calls are left out.
inline const char* kFileSystemCalls =
    "open,openat,close,read,write,pread64,pwrite64,readv,writev,preadv,pwritev,preadv2,pwritev2,lseek,"
    "fstat,newfstatat,stat,lstat,statx,fcntl,flock,fsync,fdatasync,syncfs,sync,ftruncate,truncate,"
    "unlink,unlinkat,rename,renameat,renameat2,access,faccessat,faccessat2,getdents64,mkdir,rmdir,"
    "fallocate,sync_file_range";

// The stretch a traced run counts lies between two calls of access() on these names.
inline constexpr const char* kStretchBegins = "/kavina-bench-stretch-begins";
inline constexpr const char* kStretchEnds = "/kavina-bench-stretch-ends";

inline void markStretch(const char* mark) {
    (void)::access(mark, F_OK);
}

inline bool straceAvailable() {
    return std::system("strace -V > /dev/null 2>&1") == 0;
}

// Runs this program again with the arguments under strace and counts the file-system calls
// of every thread between the two marks, by call. Empty when strace is missing or the run
// failed.
inline std::map<std::string, long> countCalls(const std::vector<std::string>& arguments, const std::string& scratch) {
    std::map<std::string, long> counts;
    if (!straceAvailable()) return counts;
    const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
    const std::string trace = scratch + "/strace.txt";
    std::string command =
        std::string("strace -f -qq -e trace=") + kFileSystemCalls + " -o '" + trace + "' '" + self + "'";
    for (const std::string& a : arguments) command += " '" + a + "'";
    if (std::system((command + " > /dev/null").c_str()) != 0) return counts;
    std::ifstream in(trace);
    bool inside = false;
    for (std::string line; std::getline(in, line);) {
        if (line.find(kStretchBegins) != std::string::npos) {
            inside = true;
            continue;
        }
        if (line.find(kStretchEnds) != std::string::npos) break;
        if (!inside || line.find(" resumed>") != std::string::npos) continue;
        std::istringstream words(line);
        std::string pid, call;
        words >> pid >> call;
        call = call.substr(0, call.find('('));
        if (!call.empty()) ++counts[call];
    }
    std::filesystem::remove(trace);
    return counts;
}

inline long total(const std::map<std::string, long>& counts) {
    long n = 0;
    for (const auto& [call, count] : counts) n += count;
    return n;
}

inline std::string breakdown(const std::map<std::string, long>& counts, long per) {
    std::string out;
    for (const auto& [call, count] : counts)
        out += (out.empty() ? "" : ", ") + call + " " + format("%.1f", double(count) / double(per));
    return out;
}

}  // namespace bench
