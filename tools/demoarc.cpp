// demoarc: packs and reads the show's data archives.
//   demoarc pack [-z] OUT DIR   every file under DIR, named by its path relative
//                               to DIR with "/"; -z compresses the body
//   demoarc list ARCHIVE        each member's name and size
//   demoarc cat ARCHIVE NAME    one member to standard output

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "manager/archive_builder.h"
#include "manager/archive_source.h"
#include "manager/exceptions.h"

namespace fs = std::filesystem;

namespace {

int usage() {
    std::cerr << "usage: demoarc pack [-z] OUT DIR\n"
                 "       demoarc list ARCHIVE\n"
                 "       demoarc cat ARCHIVE NAME\n";
    return 2;
}

bool readFile(const fs::path& path, std::vector<unsigned char>& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

int pack(bool compress, const std::string& out, const std::string& dir) {
    std::error_code error;
    if (!fs::is_directory(dir, error)) {
        std::cerr << "demoarc: " << dir << " is not a directory\n";
        return 1;
    }
    std::vector<demo::ArchiveMember> members;
    for (fs::recursive_directory_iterator it(dir, error), end; !error && it != end; it.increment(error)) {
        if (!it->is_regular_file()) continue;
        demo::ArchiveMember member;
        member.name = it->path().lexically_relative(dir).generic_string();
        if (!readFile(it->path(), member.data)) {
            std::cerr << "demoarc: cannot read " << it->path().string() << "\n";
            return 1;
        }
        members.push_back(std::move(member));
    }
    if (error) {
        std::cerr << "demoarc: " << dir << ": " << error.message() << "\n";
        return 1;
    }
    std::sort(members.begin(), members.end(),
              [](const auto& a, const auto& b) { return a.name < b.name; });
    std::vector<unsigned char> archive = demo::buildArchive(members, compress);
    std::ofstream file(out, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(archive.data()),
               static_cast<std::streamsize>(archive.size()));
    file.close();
    if (!file) {
        std::cerr << "demoarc: cannot write " << out << "\n";
        return 1;
    }
    return 0;
}

std::unique_ptr<demo::ArchiveSource> load(const std::string& name) {
    std::error_code error;
    if (!fs::exists(name, error)) {
        std::cerr << "demoarc: " << name << " does not exist\n";
        return nullptr;
    }
    return std::make_unique<demo::ArchiveSource>(name);
}

int list(const std::string& name) {
    auto archive = load(name);
    if (!archive) return 1;
    for (const auto& [member, entry] : archive->directory()) {
        std::cout << member << " " << entry.size << "\n";
    }
    return 0;
}

int cat(const std::string& name, const std::string& member) {
    auto archive = load(name);
    if (!archive) return 1;
    std::unique_ptr<demo::MemoryFile> file(archive->open(member));
    if (!file) {
        std::cerr << "demoarc: " << name << " has no member " << member << "\n";
        return 1;
    }
    std::cout.write(reinterpret_cast<const char*>(file->data), file->size);
    std::cout.flush();
    return std::cout ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    try {
        if (args.size() >= 3 && args[0] == "pack") {
            bool compress = args[1] == "-z";
            if (args.size() != (compress ? 4u : 3u)) return usage();
            return pack(compress, args[args.size() - 2], args.back());
        }
        if (args.size() == 2 && args[0] == "list") return list(args[1]);
        if (args.size() == 3 && args[0] == "cat") return cat(args[1], args[2]);
        return usage();
    } catch (const demo::ExceptionBase& e) {
        e.print(std::cerr);
        std::cerr << "\n";
        return 1;
    } catch (const std::exception& e) {
        std::cerr << "demoarc: " << e.what() << "\n";
        return 1;
    }
}
