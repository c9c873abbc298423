// Replacing a file through a temporary file and a rename keeps what the user set: links stay
// links and their target is replaced, permissions survive, a file nobody may write is left
// alone. These hold whether the tests run as an ordinary user or as root.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "core/replace_target.h"
#include "core/text_file.h"
#include "temp_dir.h"

namespace pelor::core {
namespace {

namespace fs = std::filesystem;

class ReplaceTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = pelor::testing::MakeTempDir("pelor-replace");
        dir_ += "/";
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }

    std::string Path(const std::string& name) const { return dir_ + name; }
    void Put(const std::string& name, const std::string& bytes) const {
        std::ofstream(Path(name), std::ios::binary) << bytes;
    }
    std::string Get(const std::string& name) const {
        std::ifstream in(Path(name), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    unsigned Mode(const std::string& name) const {
        struct stat st {};
        return ::stat(Path(name).c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
    }
    bool IsLink(const std::string& name) const {
        return fs::is_symlink(fs::symlink_status(Path(name)));
    }
    // Replaces `name` with `text` the way the table and project writers do.
    bool Replace(const std::string& name, const std::string& text) const {
        TextFile file;
        if (!file.Open(Path(name), TextFile::Mode::Replace)) return false;
        return file.Write(text) && file.Close();
    }
    // Nothing but the expected names is left in the directory (no temporary file).
    std::size_t EntryCount() const {
        return static_cast<std::size_t>(
            std::distance(fs::directory_iterator(dir_), fs::directory_iterator{}));
    }

    std::string dir_;
};

TEST_F(ReplaceTest, LinkIsWrittenThroughAndStaysALink) {
    fs::create_directory(Path("real"));
    Put("real/table.txt", "old\r\n");
    fs::create_symlink("real/table.txt", Path("relative.txt"));   // relative to its folder
    fs::create_symlink(Path("relative.txt"), Path("chain.txt"));  // a link to a link
    fs::create_symlink("real/new.txt", Path("dangling.txt"));     // its target not made yet

    ASSERT_TRUE(Replace("chain.txt", "new\n"));
    EXPECT_TRUE(IsLink("chain.txt"));
    EXPECT_TRUE(IsLink("relative.txt"));
    EXPECT_EQ(Get("real/table.txt"), "new\r\n");
    EXPECT_EQ(Get("chain.txt"), "new\r\n");

    ASSERT_TRUE(Replace("dangling.txt", "made\n"));
    EXPECT_TRUE(IsLink("dangling.txt"));
    EXPECT_EQ(Get("real/new.txt"), "made\r\n");
    EXPECT_EQ(EntryCount(), 4u);  // real/, three links
}

TEST_F(ReplaceTest, NewFileKeepsTheOldPermissions) {
    for (const unsigned mode : {0600u, 0640u, 0604u, 0660u, 0755u}) {
        Put("p.txt", "old");
        ASSERT_EQ(::chmod(Path("p.txt").c_str(), mode), 0);
        ASSERT_TRUE(Replace("p.txt", "new")) << std::oct << mode;
        EXPECT_EQ(Mode("p.txt"), mode) << std::oct << mode;
        EXPECT_EQ(Get("p.txt"), "new");
    }
    // Through a link the target's permissions are kept, the link's own are not looked at.
    Put("t.txt", "old");
    ASSERT_EQ(::chmod(Path("t.txt").c_str(), 0640), 0);
    fs::create_symlink("t.txt", Path("l.txt"));
    ASSERT_TRUE(Replace("l.txt", "new"));
    EXPECT_EQ(Mode("t.txt"), 0640u);
}

TEST_F(ReplaceTest, FileNobodyMayWriteIsRefusedAndKept) {
    Put("ro.txt", "kept");
    ASSERT_EQ(::chmod(Path("ro.txt").c_str(), 0444), 0);
    fs::create_symlink("ro.txt", Path("to-ro.txt"));
    EXPECT_FALSE(MayWrite(Path("ro.txt")));
    EXPECT_FALSE(ResolveReplaceTarget(Path("to-ro.txt")).has_value());
    EXPECT_FALSE(Replace("ro.txt", "lost"));
    EXPECT_FALSE(Replace("to-ro.txt", "lost"));
    EXPECT_EQ(Get("ro.txt"), "kept");
    EXPECT_EQ(Mode("ro.txt"), 0444u);
    EXPECT_TRUE(IsLink("to-ro.txt"));
    EXPECT_EQ(EntryCount(), 2u);

    // A new file and a writable one may be written.
    EXPECT_TRUE(MayWrite(Path("absent.txt")));
    Put("rw.txt", "x");
    EXPECT_TRUE(MayWrite(Path("rw.txt")));
}

TEST_F(ReplaceTest, LinkLoopIsRefused) {
    fs::create_symlink("b.txt", Path("a.txt"));
    fs::create_symlink("a.txt", Path("b.txt"));
    EXPECT_FALSE(Replace("a.txt", "x"));
    EXPECT_TRUE(IsLink("a.txt"));
    EXPECT_TRUE(IsLink("b.txt"));
}

TEST_F(ReplaceTest, FailedWriteLeavesTheLinkedFileAsItWas) {
    Put("t.txt", "old");
    fs::create_symlink("t.txt", Path("l.txt"));
    {
        TextFile file;
        ASSERT_TRUE(file.Open(Path("l.txt"), TextFile::Mode::Replace));
        ASSERT_TRUE(file.Write("half"));
        file.Abandon();
    }
    EXPECT_EQ(Get("t.txt"), "old");
    EXPECT_TRUE(IsLink("l.txt"));
    EXPECT_EQ(EntryCount(), 2u);
}

// A file written in one go (the web bitmap, the web log's page) is replaced only when every
// step succeeded; otherwise the old file stays and nothing is left beside it.
TEST_F(ReplaceTest, WholeFileReplacesOnlyWhenEveryWriteSucceeded) {
    Put("t.bin", "old");
    ASSERT_EQ(::chmod(Path("t.bin").c_str(), 0640), 0);
    fs::create_symlink("t.bin", Path("l.bin"));
    const auto writer = [](bool succeeds) {
        return [succeeds](std::FILE* file) {
            std::fputs("new", file);
            return succeeds;
        };
    };

    EXPECT_FALSE(ReplaceFile(Path("l.bin"), writer(false)));
    EXPECT_EQ(Get("t.bin"), "old");
    EXPECT_EQ(EntryCount(), 2u);

    ASSERT_TRUE(ReplaceFile(Path("l.bin"), writer(true)));
    EXPECT_TRUE(IsLink("l.bin"));
    EXPECT_EQ(Get("t.bin"), "new");
    EXPECT_EQ(Mode("t.bin"), 0640u);
    EXPECT_EQ(EntryCount(), 2u);

    ASSERT_EQ(::chmod(Path("t.bin").c_str(), 0444), 0);
    bool called = false;
    EXPECT_FALSE(ReplaceFile(Path("l.bin"), [&called](std::FILE*) { return called = true; }));
    EXPECT_FALSE(called) << "a file nobody may write is refused before anything is written";
    EXPECT_EQ(Get("t.bin"), "new");
    EXPECT_FALSE(ReplaceFile(Path("no-dir/x.bin"), writer(true)));
}

}  // namespace
}  // namespace pelor::core
