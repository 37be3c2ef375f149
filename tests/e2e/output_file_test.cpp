// The files of -o: written after the report, whole or not at all, and
// nothing else of the run changed by them.
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "dialogue_texts.h"
#include "pty_session.h"

namespace e2e {
namespace {

const std::string kWorkedGame = "Alice Bob\n3 3\n5 0 7\n2 5 0\n6 1 8\nY\n1\n4\n4\nq";

// A folder of its own for each test, holding one file "old" at first.
struct Folder {
    std::string path;
    Folder() {
        char name[] = "/tmp/brown-robinson-output-XXXXXX";
        path = mkdtemp(name) != nullptr ? name : "";
        std::ofstream(file()) << "old";
    }
    ~Folder() {
        for (const std::string& entry : entries()) unlink((path + "/" + entry).c_str());
        rmdir(path.c_str());
    }
    std::string file() const { return path + "/run.svg"; }
    std::set<std::string> entries() const {
        std::set<std::string> names;
        if (DIR* dir = opendir(path.c_str())) {
            while (dirent* entry = readdir(dir)) {
                const std::string name = entry->d_name;
                if (name != "." && name != "..") names.insert(name);
            }
            closedir(dir);
        }
        return names;
    }
    std::string content() const {
        std::ostringstream text;
        text << std::ifstream(file()).rdbuf();
        return text.str();
    }
};

// However the run ends, the folder holds the target alone afterwards: the
// new file after a whole run, the old one after any other end.
TEST(OutputFile, WholeOrNotAtAll) {
    const DetachedRun plain = runWithoutConsole(kWorkedGame);
    const struct {
        const char* name;
        std::string input;
        int status;
        bool written;
    } cases[] = {
        {"a whole run", kWorkedGame, 'q', true},
        {"no final key", kWorkedGame.substr(0, kWorkedGame.size() - 1), 0, true},
        {"input ended in the matrix", kWorkedGame.substr(0, 20), 1, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Folder folder;
        const DetachedRun run =
            runWithoutConsole(c.input, kTimeoutMs, nullptr, {"-o", folder.file()});
        EXPECT_TRUE(exitedWith(run.status, c.status));
        EXPECT_EQ(folder.entries(), std::set<std::string>{"run.svg"});
        EXPECT_EQ(folder.content().rfind("<?xml", 0) == 0, c.written) << folder.content();
        if (c.status == 'q') {
            EXPECT_EQ(visible(run.output), visible(plain.output));
        }
        EXPECT_EQ(run.errors, "");
    }
}

// The temporary file exists from the start (so that a folder that cannot
// be written is known before the game is typed), and a signal that ends
// the run in the middle of the dialogue takes it away.
TEST(OutputFile, SignalLeavesTheTargetAsItWas) {
    for (int signalNumber : {SIGTERM, SIGHUP, SIGINT}) {
        SCOPED_TRACE(signalNumber);
        Folder folder;
        PtySession session;
        session.setArguments({"--output=" + folder.file()});
        ASSERT_TRUE(session.start());
        ASSERT_TRUE(session.waitFor(screenOf(kFirstName)));
        EXPECT_EQ(folder.entries().size(), 2u);
        session.sendSignal(signalNumber);
        ASSERT_TRUE(session.waitForExit());
        EXPECT_TRUE(killedBy(session.exitStatus(), signalNumber));
        EXPECT_EQ(folder.entries(), std::set<std::string>{"run.svg"});
        EXPECT_EQ(folder.content(), "old");
    }
}

// A folder where the file should go is found before the dialogue, as a
// folder that cannot be written is.
TEST(OutputFile, AFolderInItsPlaceIsAUsageError) {
    Folder folder;
    const std::string target = folder.path + "/pictures.svg";
    ASSERT_EQ(mkdir(target.c_str(), 0700), 0);
    const DetachedRun run = runWithoutConsole(kWorkedGame, kTimeoutMs, nullptr, {"-o", target});
    EXPECT_TRUE(exitedWith(run.status, 2));
    EXPECT_EQ(run.output, "");
    EXPECT_EQ(run.errors,
              "brown-robinson: cannot write '" + target +
                  "': Is a directory\nTry 'brown-robinson --help' for more information.\n");
    EXPECT_EQ(folder.entries(), (std::set<std::string>{"pictures.svg", "run.svg"}));
    rmdir(target.c_str());
}

// A write that fails at the end says so, ends with status 1 and leaves
// the target as it was.
TEST(OutputFile, FailedWriteIsReported) {
    Folder folder;
    // A file system too small for the picture of a million iterations:
    // the temporary file is made, its writes fail. A tmpfs of one page
    // gives that; where mounting is not allowed the test cannot provoke
    // the failure.
    const std::string mount = folder.path + "/full";
    mkdir(mount.c_str(), 0700);
    const std::string command = "mount -t tmpfs -o size=4k tmpfs " + mount + " 2>/dev/null";
    if (system(command.c_str()) != 0) {
        rmdir(mount.c_str());
        GTEST_SKIP() << "cannot mount a small tmpfs here";
    }
    const std::string target = mount + "/big.svg";
    const DetachedRun run = runWithoutConsole("Ann Bob\n1 1\n5\nN\n4\nq", kTimeoutMs, nullptr,
                                              {"-n", "1000000", "-o", target});
    EXPECT_TRUE(exitedWith(run.status, 1));
    EXPECT_EQ(run.errors,
              "brown-robinson: cannot write '" + target + "': No space left on device\n");
    EXPECT_NE(access(target.c_str(), F_OK), 0);
    const std::string unmount = "umount " + mount;
    EXPECT_EQ(system(unmount.c_str()), 0);
    rmdir(mount.c_str());
}

}  // namespace
}  // namespace e2e
