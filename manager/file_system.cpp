#include "manager/file_system.h"

#include <cstring>
#include <iostream>

#include "manager/archive_source.h"
#include "manager/directory_source.h"
#include "manager/exceptions.h"
#include "manager/source_location.h"

namespace demo {

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
