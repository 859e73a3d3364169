#include "manager/file_system.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>

#include "manager/archive_builder.h"
#include "manager/directory_source.h"
#include "manager/exceptions.h"
#include "tests/support/scratch_dir.h"

namespace demo {
namespace {

namespace fs = std::filesystem;

TEST(FileSystem, SourcesFilesAndPrefixes) {
    fs::path dir = test::freshScratchDir("fileio");
    fs::create_directories(dir / "old/sub"), fs::create_directories(dir / "new");
    auto write = [&](const char* name, const std::string& text) {
        std::ofstream(dir / name, std::ios::binary) << text;
    };
    write("old/newest_wins.txt", "old"), write("new/newest_wins.txt", "new");
    write("old/only_old.txt", "only"), write("old/empty", "");
    std::vector<unsigned char> archive = buildArchive({{"only_old.txt", {'z'}}}, true);
    write("data.m", std::string(archive.begin(), archive.end()));

    FileSystem* files = FileSystem::instance();
    files->addDirectory((dir / "old").string());
    files->mountArchive((dir / "data.m").string());
    files->mountArchive((dir / "absent.m").string());  // an empty source
    files->addDirectory((dir / "new").string());
    auto text = [&](const char* name) {
        MemoryFile* file = files->get(name);
        return std::string(reinterpret_cast<const char*>(file->data), file->size);
    };
    EXPECT_EQ(text("only_old.txt"), "z");  // the archive is newer
    EXPECT_EQ(text("newest_wins.txt"), "new");
    std::unique_ptr<char[]> copy(readTextFile("newest_wins.txt"));
    EXPECT_EQ(std::string(copy.get(), 4), std::string("new", 4));
    EXPECT_EQ(files->objects().at("newest_wins.txt")->referenceCount, 2);  // opened once

    // Show data comes from case-insensitive disks: a name that differs only
    // in case is found part by part; an absolute name opens as it is.
    write("old/sub/CWALL02.jpg", "wall");
    EXPECT_EQ(text("SUB\\cwall02.JPG"), "wall");
    EXPECT_EQ(text((dir / "old/only_old.txt").string().c_str()), "only");
    EXPECT_THROW(files->get("NEWEST_WINS.TXT.missing"), ResourceMissing);
    EXPECT_EQ(files->objects().count("NEWEST_WINS.TXT.missing"), 0u);

    // A later show in the same process starts without the earlier data
    // directories; files still held stay readable.
    write("new/late.txt", "late"), files->dropDataDirectories();
    EXPECT_THROW(files->get("late.txt"), ResourceMissing);
    EXPECT_EQ(text("newest_wins.txt"), "new");
    EXPECT_TRUE(openedFileNames().empty());

    DirectorySource old((dir / "old").string());
    EXPECT_EQ(old.open("sub"), nullptr);  // a directory is not a file
    std::unique_ptr<MemoryFile> empty(old.open("empty"));
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(empty->size, 0u);
    // Sizes are 32-bit: a (sparse) file of 4 GiB is refused, not truncated.
    fs::resize_file(dir / "old/empty", std::uintmax_t{1} << 32);
    EXPECT_EQ(old.open("empty"), nullptr);
    fs::remove(dir / "old/empty");
}

}  // namespace
}  // namespace demo
