#include "manager/fileio.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "manager/archive_builder.h"
#include "manager/directory_source.h"
#include "manager/exceptions.h"

namespace demo {
namespace {

namespace fs = std::filesystem;

// A fresh directory per test: ctest runs test cases in parallel processes.
fs::path scratch() {
    const char* root = std::getenv("DEMO_TEST_TMP");
    auto* info = testing::UnitTest::GetInstance()->current_test_info();
    fs::path dir = fs::path(root ? root : "/tmp") / (std::string("fileio_") + info->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

void writeFile(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

std::string contents(const MemoryFile* file) {
    return std::string(reinterpret_cast<const char*>(file->data), file->size);
}

TEST(FileSystem, NewestSourceWinsAndMissingNamesThrow) {
    fs::path dir = scratch();
    fs::create_directories(dir / "old");
    fs::create_directories(dir / "new");
    writeFile(dir / "old" / "newest_wins.txt", "old");
    writeFile(dir / "new" / "newest_wins.txt", "new");
    writeFile(dir / "old" / "only_old.txt", "only");
    std::vector<unsigned char> archive =
        buildArchive({{"from_archive.txt", {'a', 'r', 'c'}}, {"only_old.txt", {'z'}}}, true);
    std::ofstream(dir / "data.m", std::ios::binary)
        .write(reinterpret_cast<const char*>(archive.data()), archive.size());

    FileSystem* files = FileSystem::instance();
    files->addDirectory((dir / "old").string());
    files->mountArchive((dir / "data.m").string());
    files->mountArchive((dir / "absent.m").string());  // an empty source
    files->addDirectory((dir / "new").string());

    EXPECT_EQ(contents(files->get("newest_wins.txt")), "new");
    EXPECT_EQ(contents(files->get("only_old.txt")), "z");  // the archive is newer
    MemoryFile* member = files->get("from_archive.txt");
    EXPECT_EQ(contents(member), "arc");
    EXPECT_FALSE(member->owns);
    files->release(member);  // a view: frees nothing of the image

    try {
        files->get("NEWEST_WINS.TXT");  // names are used as given
        FAIL();
    } catch (const ResourceMissing& e) {
        std::ostringstream out;
        e.print(out);
        EXPECT_EQ(out.str(), "manager/fileio L19: Cannot obtain 'NEWEST_WINS.TXT'.");
        EXPECT_EQ(files->objects().count("NEWEST_WINS.TXT"), 0u);
    }
}

TEST(FileSystem, OpensOnceCountsReferencesAndListsNamesOnce) {
    fs::path dir = scratch();
    writeFile(dir / "twice.txt", "text");
    FileSystem* files = FileSystem::instance();
    files->addDirectory(dir.string());

    MemoryFile* first = files->get("twice.txt");
    char* text = readTextFile("twice.txt");
    EXPECT_EQ(files->get("twice.txt"), first);
    EXPECT_EQ(first->referenceCount, 3);  // readTextFile keeps its reference
    EXPECT_TRUE(first->owns);
    EXPECT_EQ(std::string(text), "text");
    EXPECT_EQ(text[first->size], '\0');
    delete[] text;

    testing::internal::CaptureStdout();
    files->dumpFiles();
    std::string dump = testing::internal::GetCapturedStdout();
    EXPECT_EQ(dump.rfind("Files:\n", 0), 0u);
    EXPECT_EQ(dump.find("\ntwice.txt\n"), dump.rfind("\ntwice.txt\n"));
    EXPECT_NE(dump.find("\ntwice.txt\n"), std::string::npos);
}

TEST(DirectorySource, PrefixesAndWhatCountsAsAFile) {
    EXPECT_EQ(DirectorySource("a\\b\\").prefix(), "a/b/");
    EXPECT_EQ(DirectorySource("a/b").prefix(), "a/b/");
    EXPECT_EQ(DirectorySource("").prefix(), "./");

    fs::path dir = scratch();
    fs::create_directories(dir / "sub");
    writeFile(dir / "empty", "");
    DirectorySource source(dir.string());
    EXPECT_EQ(source.open("sub"), nullptr);  // a directory is not a file
    EXPECT_EQ(source.open("missing"), nullptr);
    std::unique_ptr<MemoryFile> empty(source.open("empty"));
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(empty->size, 0u);
    EXPECT_EQ(empty->name, "empty");

    // Sizes are 32-bit: a (sparse) file of 4 GiB is refused, not truncated.
    writeFile(dir / "huge", "");
    fs::resize_file(dir / "huge", std::uintmax_t{1} << 32);
    EXPECT_EQ(source.open("huge"), nullptr);
    fs::remove(dir / "huge");
}

}  // namespace
}  // namespace demo
