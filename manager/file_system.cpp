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

// The working directory is there from the start and stays.
FileSystem::FileSystem() { sources_.push_back({std::make_unique<DirectorySource>("."), false}); }

void FileSystem::addDirectory(const std::string& path) {
    sources_.push_back({std::make_unique<DirectorySource>(path), true});
}

void FileSystem::mountArchive(const std::string& fileName) {
    sources_.push_back({std::make_unique<ArchiveSource>(fileName), false});
}

void FileSystem::dropDataDirectories() {
    std::erase_if(sources_, [](const Source& s) { return s.dataDirectory; });
    collectUnused();
    openedFileNames().clear();
}

MemoryFile* FileSystem::open(const std::string& name) {
    for (auto it = sources_.rbegin(); it != sources_.rend(); ++it) {
        if (MemoryFile* file = it->files->open(name)) return file;
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
