#include "manager/memory_file.h"

#include <filesystem>
#include <system_error>

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

}  // namespace demo
