#include "TreeGenerator.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <unordered_set>

namespace qorvani::bench {

std::uint64_t SplitMix64::Next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

std::uint64_t SplitMix64::Below(std::uint64_t bound) {
    // Rejection keeps the draw unbiased; the limit is the largest multiple of bound.
    const std::uint64_t limit = ~std::uint64_t{0} - (~std::uint64_t{0} % bound);
    for (;;) {
        const std::uint64_t x = Next();
        if (x < limit) return x % bound;
    }
}

namespace {

constexpr char kAlnum[] = "0123456789abcdefghijklmnopqrstuvwxyz";
constexpr std::size_t kMaskCount = 26;
constexpr std::size_t kMaxDepth = 24;
constexpr std::uint64_t kGiB = 1024ull * 1024 * 1024;

[[noreturn]] void Fail(const std::string& what, const std::string& path) {
    throw std::runtime_error(what + " " + path + ": " + std::strerror(errno));
}

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int Get() const { return fd_; }

private:
    int fd_;
};

// Base 36 of a running number: unique, short, only digits and lower-case letters. It can spell
// an extension ("bak", "ms"), so near misses never put it where an extension is tested.
// Joins the parts by appending (GCC 12 warns falsely on "literal" + std::string).
template <typename... Parts>
std::string Cat(const Parts&... parts) {
    std::string text;
    (text += ... += parts);
    return text;
}

std::string Token(std::uint64_t n) {
    std::string text;
    do {
        text.insert(text.begin(), kAlnum[n % 36]);
        n /= 36;
    } while (n != 0);
    return text;
}

class Namer {
public:
    explicit Namer(SplitMix64& rng) : rng_(rng) {}

    // Lower case as written, all upper, or each letter at random.
    std::string Cased(std::string name) {
        const std::uint64_t style = rng_.Below(4);
        for (char& c : name) {
            if (c < 'a' || c > 'z') continue;
            if (style == 1 || (style == 3 && rng_.OneIn(2))) c = static_cast<char>(c - 'a' + 'A');
        }
        return name;
    }

    std::string Alnum(std::size_t count) {
        std::string text;
        for (std::size_t i = 0; i < count; ++i) text += kAlnum[rng_.Below(36)];
        return text;
    }

    std::string Digit() { return std::string(1, static_cast<char>('0' + rng_.Below(10))); }

    template <std::size_t N>
    const char* Pick(const char* const (&choices)[N]) {
        return choices[rng_.Below(N)];
    }

    // A name that matches catalogue row `row` (0 to 25, in catalogue order).
    std::string Match(std::size_t row, const std::string& tok) {
        static const char* const kPlainExtensions[kMaskCount] = {
            nullptr, ".tmp", nullptr, ".bak", nullptr, nullptr, ".ftg", ".fts", ".gid",
            ".old", nullptr, ".chk", "._mp", ".syd", ".ms", ".diz", ".dmp", ".wbk",
            ".xlk", ".cdr_", nullptr, ".$$$", ".@@@", ".---", nullptr, nullptr};
        static const char* const kStems[] = {"", "", "", "a.b", "my file ", "备份", "x-"};
        switch (row) {
        case 0: {
            static const char* const kEnds[] = {".tmp", ".doc", ".", ".x"};
            static const char* const kStarts[] = {"~wrl", "~$", "~", "~df"};
            return Cased(Cat(Pick(kStarts), tok, Pick(kEnds)));
        }
        case 2: return Cased(Cat(tok, ".~", Alnum(rng_.Below(4))));
        case 4: return Cased(Cat(tok, ".", Alnum(2), "~"));
        case 5: return Cased(Cat(tok, ".", Alnum(2), "$"));
        case 10: return Cased(Cat("chklist.", tok));
        case 20: return Cased(Cat(tok, ".", Digit(), "res"));
        case 24: return Cased("mscreate.dir");
        case 25: return Cased(Cat("0", Alnum(7 - std::min<std::size_t>(tok.size(), 7)),
                                  tok.substr(0, 7), ".nch"));
        default:
            // A few names with nothing before the dot (".tmp" and the like).
            if (rng_.OneIn(50)) return Cased(kPlainExtensions[row]);
            return Cased(Cat(Pick(kStems), tok, kPlainExtensions[row]));
        }
    }

    // A name that looks like junk but matches none of the masks.
    std::string NearMiss(const std::string& tok) {
        switch (rng_.Below(16)) {
        case 0: return Cased(Cat("~lock", tok));                     // ~*.* wants a dot
        case 1: return Cased(Cat(tok, ".#res"));                     // # is a digit
        case 2: return Cased(Cat("0", Alnum(6), ".nch"));           // one character short
        case 3: return Cased(Cat("1", Alnum(7), ".nch"));           // must start with 0
        case 4: return Cased(Cat(tok, ".tmpx"));
        case 5: return Cased(Cat(tok, ".bak.txt"));
        case 6: return Cased(rng_.OneIn(2) ? std::string("chklist") : Cat("chklist_", tok));
        case 7: return Cased(Cat(tok, ".a~"));                       // *.??~ wants two
        case 8: return Cased(Cat(tok, ".abc$"));                     // *.??$ wants two
        case 9: return Cased(rng_.OneIn(2) ? "mscreate.dirx" : "mscreate_dir");
        case 10: return Cased(Cat(tok, ".cdr"));
        case 11: return Cased(Cat(tok, "._m"));
        case 12: return Cased(Cat(tok, ".$$"));
        case 13: return Cased(Cat(tok, "tmp"));
        case 14: return Cased(Cat(tok, ".ms_"));
        default: return Cased(Cat(tok, "~.txt"));
        }
    }

    std::string Ordinary(const std::string& tok) {
        static const char* const kStarts[] = {"report", "img_", "", "data", "Setup ", "笔记", "lib"};
        static const char* const kEnds[] = {".txt", ".jpg", ".cpp", "", ".exe", ".ini", ".so.1",
                                            ".log", ".xlsx", ".pdf"};
        return Cat(Pick(kStarts), tok, Pick(kEnds));
    }

    std::string Folder(const std::string& tok) {
        if (rng_.OneIn(5)) {  // folders named like junk, which a scan must not list
            static const char* const kJunk[][2] = {
                {"old", ".bak"}, {"x", ".tmp"}, {"~", ".tmp"}, {"", ".chk"}, {"c", ".#res"}};
            const auto& junk = kJunk[rng_.Below(5)];
            return Cased(Cat(junk[0], tok, junk[1]));
        }
        static const char* const kStarts[] = {"d", "src", "Program Files ", "文档", "cache"};
        return Cat(Pick(kStarts), tok);
    }

private:
    SplitMix64& rng_;
};

std::string JoinPath(const std::string& folder, const std::string& name) {
    return folder.empty() ? name : Cat(folder, "/", name);
}

std::string NormalRoot(std::string root) {
    while (root.size() > 1 && root.back() == '/') root.pop_back();
    return root;
}

void MakeFile(const std::string& path, std::uint64_t size) {
    FileDescriptor fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644));
    if (fd.Get() < 0) Fail("cannot create", path);
    // A few real bytes, the rest by truncation (sparse where the file system allows).
    static const char kBytes[] = "QORVANI!";
    const std::size_t head = static_cast<std::size_t>(std::min<std::uint64_t>(size, 8));
    if (head != 0 && ::write(fd.Get(), kBytes, head) != static_cast<ssize_t>(head))
        Fail("cannot write", path);
    if (size > head && ::ftruncate(fd.Get(), static_cast<off_t>(size)) != 0)
        Fail("cannot size", path);
}

}  // namespace

Manifest GenerateTree(const std::string& rootText, const TreeShape& shape) {
    if (shape.matches > shape.files) throw std::runtime_error("more matches than files");
    if (shape.sparse > shape.matches) throw std::runtime_error("more sparse files than matches");
    const std::string root = NormalRoot(rootText);
    std::filesystem::create_directories(root);
    if (!std::filesystem::is_empty(root)) throw std::runtime_error("not empty: " + root);

    SplitMix64 rng(shape.seed);
    Namer namer(rng);
    std::uint64_t serial = 0;
    auto nextToken = [&] { return Token(serial++); };

    // Folders: each under a random earlier one, or under the newest to make deep chains.
    std::vector<std::string> folders{""};
    std::vector<std::size_t> depth{0};
    std::unordered_set<std::string> taken;
    for (std::size_t i = 0; i < shape.folders; ++i) {
        std::size_t parent = rng.OneIn(4) ? folders.size() - 1 : rng.Below(folders.size());
        if (depth[parent] >= kMaxDepth) parent = 0;
        std::string rel;
        do rel = JoinPath(folders[parent], namer.Folder(nextToken()));
        while (!taken.insert(rel).second);
        if (::mkdir((root + "/" + rel).c_str(), 0755) != 0) Fail("cannot make", root + "/" + rel);
        folders.push_back(rel);
        depth.push_back(depth[parent] + 1);
    }

    Manifest manifest;
    manifest.folders = shape.folders;
    manifest.files = shape.files;
    const std::size_t nearMisses = (shape.files - shape.matches) * 3 / 10;
    for (std::size_t k = 0; k < shape.files; ++k) {
        const bool match = k < shape.matches;
        // Every mask once before any repeats.
        const std::size_t row = k < kMaskCount ? k : static_cast<std::size_t>(rng.Below(kMaskCount));
        std::string rel;
        for (int attempt = 0;; ++attempt) {
            const std::string& folder = folders[rng.Below(folders.size())];
            const std::string tok = nextToken();
            std::string name = match ? namer.Match(row, tok)
                               : k < shape.matches + nearMisses ? namer.NearMiss(tok)
                                                               : namer.Ordinary(tok);
            rel = JoinPath(folder, name);
            // Names without a running number can repeat; a folder's name can equal a file's.
            if (taken.insert(rel).second) break;
            if (attempt > 1000) throw std::runtime_error("cannot find a free name");
        }
        std::uint64_t size = rng.Below(4097);
        if (match && k < shape.sparse) size = 4 * kGiB + rng.Below(4 * kGiB);
        MakeFile(root + "/" + rel, size);
        if (match) {
            manifest.matches.push_back({size, root + "/" + rel});
            manifest.totalBytes += size;
        }
    }
    std::sort(manifest.matches.begin(), manifest.matches.end(),
              [](const ManifestEntry& a, const ManifestEntry& b) { return a.path < b.path; });
    return manifest;
}

void WriteManifest(const Manifest& manifest, const std::string& file) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    for (const ManifestEntry& entry : manifest.matches)
        out << entry.size << '\t' << entry.path << '\n';
    out.flush();
    if (!out) throw std::runtime_error("cannot write " + file);
}

}  // namespace qorvani::bench
