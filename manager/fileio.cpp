#include "manager/fileio.h"

#include <cstring>
#include <filesystem>
#include <iostream>
#include <system_error>

#include "manager/archive_source.h"
#include "manager/directory_source.h"
#include "manager/exceptions.h"
#include "manager/source_location.h"

namespace demo {

MemoryFile::MemoryFile(std::string name, std::uint32_t size)
    : name(std::move(name)), data(new unsigned char[size]), size(size), owns(true) {}

MemoryFile::MemoryFile(std::string name, const unsigned char* data, std::uint32_t size)
    : name(std::move(name)), data(const_cast<unsigned char*>(data)), size(size), owns(false) {}

MemoryFile::~MemoryFile() {
    if (owns) delete[] data;
}

std::FILE* openRegularFile(const std::string& path, std::uint64_t& length) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) return nullptr;
    std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error) return nullptr;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return nullptr;
    length = size;
    return file;
}

std::vector<std::string>& openedFileNames() {
    static std::vector<std::string> names;
    return names;
}

FileSystem* FileSystem::instance() {
    static FileSystem* fileSystem = new FileSystem();
    return fileSystem;
}

FileSystem::FileSystem() { addDirectory("."); }

void FileSystem::addDirectory(const std::string& path) {
    sources_.push_back(new DirectorySource(path));
}

void FileSystem::mountArchive(const std::string& fileName) {
    sources_.push_back(new ArchiveSource(fileName));
}

MemoryFile* FileSystem::open(const std::string& name) {
    for (auto it = sources_.rbegin(); it != sources_.rend(); ++it) {
        if (MemoryFile* file = (*it)->open(name)) return file;
    }
    throw ResourceMissing(name, source::kResourceMissing.unit, source::kResourceMissing.line);
}

void FileSystem::dumpFiles() {
    std::cout << "Files:" << std::endl;
    for (const std::string& name : openedFileNames()) std::cout << name << std::endl;
}

char* readTextFile(const std::string& name) {
    MemoryFile* file = FileSystem::instance()->get(name);
    char* text = new char[std::size_t{file->size} + 1];
    if (file->size > 0) std::memcpy(text, file->data, file->size);
    text[file->size] = '\0';
    return text;
}

}  // namespace demo
