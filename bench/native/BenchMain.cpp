// qorvani_bench: benchmark trees and the walk benchmark.
//   generate ROOT --seed S --folders F --files N --matches M [--sparse K]
//   b1 ROOT [--runs R] [--catalogue FILE]
#include <clocale>
#include <cinttypes>
#include <cstdio>
#include <exception>
#include <initializer_list>
#include <map>
#include <stdexcept>
#include <string>

#include "CatalogueFile.h"
#include "TreeGenerator.h"
#include "WalkBenchmark.h"

namespace {

using namespace qorvani::bench;

int Usage() {
    std::fprintf(stderr,
                 "usage: qorvani_bench generate ROOT --seed S --folders F --files N --matches M "
                 "[--sparse K]\n"
                 "       qorvani_bench b1 ROOT [--runs R] [--catalogue FILE]\n");
    return 2;
}

// "--name value" pairs after the root; only the given names are accepted.
std::map<std::string, std::string> Options(int argc, char** argv, int first,
                                           std::initializer_list<const char*> known) {
    std::map<std::string, std::string> options;
    for (int i = first; i < argc; i += 2) {
        const std::string name = argv[i];
        bool isKnown = false;
        for (const char* k : known) isKnown = isKnown || name == k;
        if (!isKnown || i + 1 >= argc) throw std::invalid_argument("bad option " + name);
        options[name] = argv[i + 1];
    }
    return options;
}

std::uint64_t Number(const std::map<std::string, std::string>& options, const char* name,
                     std::uint64_t fallback) {
    auto it = options.find(name);
    if (it == options.end()) return fallback;
    std::size_t used = 0;
    const std::uint64_t value = std::stoull(it->second, &used, 0);
    if (used != it->second.size()) throw std::invalid_argument("bad number " + it->second);
    return value;
}

int Generate(int argc, char** argv) {
    const auto options =
        Options(argc, argv, 3, {"--seed", "--folders", "--files", "--matches", "--sparse"});
    for (const char* required : {"--seed", "--folders", "--files", "--matches"})
        if (options.count(required) == 0) return Usage();
    TreeShape shape;
    shape.seed = Number(options, "--seed", 1);
    shape.folders = static_cast<std::size_t>(Number(options, "--folders", 0));
    shape.files = static_cast<std::size_t>(Number(options, "--files", 0));
    shape.matches = static_cast<std::size_t>(Number(options, "--matches", 0));
    shape.sparse = static_cast<std::size_t>(Number(options, "--sparse", 0));

    std::string root = argv[2];
    const Manifest manifest = GenerateTree(root, shape);
    while (root.size() > 1 && root.back() == '/') root.pop_back();
    WriteManifest(manifest, root + ".manifest");
    std::printf("folders %zu files %zu matches %zu bytes %" PRIu64 " manifest %s.manifest\n",
                manifest.folders, manifest.files, manifest.matches.size(), manifest.totalBytes,
                root.c_str());
    return 0;
}

int WalkBench(int argc, char** argv) {
    const auto options = Options(argc, argv, 3, {"--runs", "--catalogue"});
    WalkBenchmarkOptions bench;
    bench.root = argv[2];
    bench.runs = static_cast<int>(Number(options, "--runs", 5));
    if (bench.runs < 1) return Usage();
    auto catalogue = options.find("--catalogue");
    bench.cataloguePath =
        catalogue != options.end() ? catalogue->second : DefaultCataloguePath();
    return RunWalkBenchmark(bench);
}

}  // namespace

int main(int argc, char** argv) {
    // The walker upper-cases with the C library's mapping, which wants a UTF-8 locale.
    if (std::setlocale(LC_CTYPE, "C.UTF-8") == nullptr) std::setlocale(LC_CTYPE, "C.utf8");
    if (argc < 3) return Usage();
    const std::string command = argv[1];
    try {
        if (command == "generate") return Generate(argc, argv);
        if (command == "b1") return WalkBench(argc, argv);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "qorvani_bench %s: %s\n", command.c_str(), error.what());
        return 1;
    }
    return Usage();
}
