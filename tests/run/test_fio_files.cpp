// fio units on real files: truncation on open, files made anew (never
// written through a link), read-only opens, unformatted record framing,
// backspace, two threads writing two units, and writes that the file system
// refuses.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "base/fio.hpp"
#include "tests/support/engine_state.hpp"

namespace pilecap {
namespace {

namespace fs = std::filesystem;

class FioFileTest : public testing::EngineTest {
 protected:
  void SetUp() override {
    testing::EngineTest::SetUp();
    fio::clear_write_failure();
    folder_ = fs::temp_directory_path() / ("pilecap_fio_" + std::to_string(::getpid()) + "_" +
                                           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }
  void TearDown() override {
    fio::close_all();
    fio::clear_write_failure();
    fs::remove_all(folder_);
  }
  std::string path(const char* name) const { return (folder_ / name).string(); }
  static std::string slurp(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }
  static void put(const std::string& file, const std::string& text) {
    std::ofstream out(file, std::ios::binary);
    out << text;
  }
  fs::path folder_;
};

TEST_F(FioFileTest, WriteOpenTruncatesEarlierContent) {
  put(path("report.txt"), "OLD LINE ONE\nOLD LINE TWO\nOLD LINE THREE\n");
  ASSERT_EQ(fio::open(40, path("report.txt"), fio::Mode::Write), fio::IO_OK);
  fio::write(40, "(\"NEW\")");
  fio::close(40);
  EXPECT_EQ(slurp(path("report.txt")), "NEW\n");
}

// Regression: a report name that was a symbolic link (or a second name of
// another file) had its target overwritten, outside the run's folder too.
// Whatever stood under the name, the write leaves a new file of the name
// and every other file as it was.
TEST_F(FioFileTest, WriteOpenMakesANewFileWhateverStoodUnderTheName) {
  struct Standing {
    const char* what;
    void (*make)(const std::string& name, const std::string& other);
  };
  const std::vector<Standing> cases = {
      {"a file", [](const std::string& name, const std::string&) { put(name, "OLD\n"); }},
      {"a link to a file", [](const std::string& name, const std::string& other) { fs::create_symlink(other, name); }},
      {"a second name of a file",
       [](const std::string& name, const std::string& other) { fs::create_hard_link(other, name); }},
      {"a link to nothing",
       [](const std::string& name, const std::string& other) {
         fs::remove(other);
         fs::create_symlink(other, name);
       }},
  };
  for (const Standing& c : cases) {
    const std::string name = path("report.txt"), other = path("victim.txt");
    fs::remove(name);
    put(other, "VICTIM\n");
    c.make(name, other);
    const bool other_existed = fs::exists(other);
    ASSERT_EQ(fio::open(43, name, fio::Mode::Write), fio::IO_OK) << c.what;
    fio::write(43, "(\"NEW\")");
    fio::close(43);
    EXPECT_EQ(slurp(name), "NEW\n") << c.what;
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(name))) << c.what;
    EXPECT_EQ(fs::exists(other), other_existed) << c.what;
    if (other_existed) {
      EXPECT_EQ(slurp(other), "VICTIM\n") << c.what;
    }
  }
}

// A device named as a report (hosts discard a report on /dev/null) is
// written as it is, never removed; a folder of the name and a name holding
// a NUL (the system would take a shorter name) are refused.
TEST_F(FioFileTest, WriteOpenLeavesDevicesAndRefusesFoldersAndNulNames) {
  constexpr const char* NULL_DEVICE = "/dev/null";
  if (!fs::exists(NULL_DEVICE)) GTEST_SKIP() << "no " << NULL_DEVICE;
  ASSERT_EQ(fio::open(44, NULL_DEVICE, fio::Mode::Write), fio::IO_OK);
  EXPECT_EQ(fio::write(44, "(\"DISCARDED\")"), fio::IO_OK);
  EXPECT_EQ(fio::close(44), fio::IO_OK);
  EXPECT_TRUE(fs::is_character_file(NULL_DEVICE));
  fs::create_directories(path("folder"));
  EXPECT_EQ(fio::open(44, path("folder"), fio::Mode::Write), fio::IO_OPEN_FAILED);
  EXPECT_TRUE(fs::is_directory(path("folder")));
  put(path("short"), "KEPT\n");
  EXPECT_EQ(fio::open(44, path("short") + std::string(1, '\0') + ".txt", fio::Mode::Write), fio::IO_OPEN_FAILED);
  EXPECT_EQ(slurp(path("short")), "KEPT\n");
}

// The stop-request file is created when absent, never through a link: a
// link to nothing stays one and reads as no request.
TEST_F(FioFileTest, ReadCreateNeverCreatesThroughALink) {
  fs::create_symlink(path("elsewhere.txt"), path("stop.txt"));
  EXPECT_EQ(fio::open(45, path("stop.txt"), fio::Mode::ReadCreate), fio::IO_OPEN_FAILED);
  EXPECT_FALSE(fs::exists(path("elsewhere.txt")));
}

TEST_F(FioFileTest, RemoveFileTakesFilesAndLinksNeverTheirTargetsNorFoldersOrDevices) {
  put(path("target.txt"), "TARGET\n");
  put(path("stale.txt"), "STALE\n");
  fs::create_symlink(path("target.txt"), path("link.txt"));
  fs::create_directories(path("folder"));
  for (const char* name : {"stale.txt", "link.txt", "absent.txt"}) EXPECT_TRUE(fio::remove_file(path(name))) << name;
  EXPECT_FALSE(fs::exists(fs::symlink_status(path("stale.txt"))));
  EXPECT_FALSE(fs::exists(fs::symlink_status(path("link.txt"))));
  EXPECT_EQ(slurp(path("target.txt")), "TARGET\n");
  fio::remove_file(path("folder"));
  EXPECT_TRUE(fs::is_directory(path("folder")));
  if (fs::exists("/dev/null")) {
    fio::remove_file("/dev/null");
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
  }
}

TEST_F(FioFileTest, ReadOpenNeitherCreatesNorTruncates) {
  EXPECT_EQ(fio::open(41, path("absent.txt"), fio::Mode::Read), fio::IO_OPEN_FAILED);
  EXPECT_FALSE(fs::exists(path("absent.txt")));
  put(path("input.txt"), "1 2 3\n");
  ASSERT_EQ(fio::open(41, path("input.txt"), fio::Mode::Read), fio::IO_OK);
  EXPECT_NE(fio::write(41, "(\"X\")"), fio::IO_OK);
  fio::close(41);
  EXPECT_EQ(slurp(path("input.txt")), "1 2 3\n");
}

TEST_F(FioFileTest, ReadCreateMakesAnAbsentFileEmptyAndKeepsAnExistingOne) {
  ASSERT_EQ(fio::open(42, path("stop.txt"), fio::Mode::ReadCreate), fio::IO_OK);
  fio::close(42);
  EXPECT_TRUE(fs::exists(path("stop.txt")));
  EXPECT_EQ(fs::file_size(path("stop.txt")), 0u);
  put(path("stop.txt"), "1\n");
  ASSERT_EQ(fio::open(42, path("stop.txt"), fio::Mode::ReadCreate), fio::IO_OK);
  fio::close(42);
  EXPECT_EQ(slurp(path("stop.txt")), "1\n");
}

TEST_F(FioFileTest, UnformattedRecordOfTwelveBytesTakesTwenty) {
  ASSERT_EQ(fio::open(43, path("scratch.bin"), fio::Mode::Write, fio::Form::Unformatted), fio::IO_OK);
  ASSERT_EQ(fio::write_record(43, 7, 2.5), fio::IO_OK);
  fio::close(43);
  const std::string bytes = slurp(path("scratch.bin"));
  ASSERT_EQ(bytes.size(), 20u);
  EXPECT_EQ(bytes.substr(0, 4), std::string("\x0c\x00\x00\x00", 4));
  EXPECT_EQ(bytes.substr(4, 4), std::string("\x07\x00\x00\x00", 4));
  EXPECT_EQ(bytes.substr(16, 4), std::string("\x0c\x00\x00\x00", 4));
}

TEST_F(FioFileTest, BackspaceRereadsTheLastRecord) {
  ASSERT_EQ(fio::open(44, path("records.bin"), fio::Mode::Write, fio::Form::Unformatted), fio::IO_OK);
  for (int k = 1; k <= 3; ++k) fio::write_record(44, k, 10.0 * k);
  fio::close(44);
  ASSERT_EQ(fio::open(44, path("records.bin"), fio::Mode::Read, fio::Form::Unformatted), fio::IO_OK);
  int n = 0;
  double x = 0.0;
  ASSERT_EQ(fio::read_record(44, n, x), fio::IO_OK);
  ASSERT_EQ(fio::read_record(44, n, x), fio::IO_OK);
  EXPECT_EQ(n, 2);
  ASSERT_EQ(fio::backspace(44), fio::IO_OK);
  n = 0;
  ASSERT_EQ(fio::read_record(44, n, x), fio::IO_OK);
  EXPECT_EQ(n, 2);
  EXPECT_EQ(x, 20.0);
  ASSERT_EQ(fio::read_record(44, n, x), fio::IO_OK);
  EXPECT_EQ(n, 3);
  EXPECT_EQ(fio::read_record(44, n, x), fio::IO_END);
  int a = 0, b = 0, c = 0, d = 0;
  ASSERT_EQ(fio::rewind(44), fio::IO_OK);
  EXPECT_EQ(fio::read_record(44, a, b, c, d), fio::IO_BAD_RECORD);  // 12 bytes cannot fill 16
}

TEST_F(FioFileTest, BackspaceOnAWrittenFileRewritesFromThere) {
  ASSERT_EQ(fio::open(45, path("rewrite.bin"), fio::Mode::Write, fio::Form::Unformatted), fio::IO_OK);
  fio::write_record(45, 1);
  fio::write_record(45, 2, 2.0);
  ASSERT_EQ(fio::backspace(45), fio::IO_OK);
  fio::write_record(45, 3);
  fio::close(45);
  EXPECT_EQ(fs::file_size(path("rewrite.bin")), 24u);
}

TEST_F(FioFileTest, DamagedRecordIsReportedNotTrusted) {
  put(path("bad.bin"), std::string("\xff\xff\x00\x00\x01\x02", 6));
  ASSERT_EQ(fio::open(46, path("bad.bin"), fio::Mode::Read, fio::Form::Unformatted), fio::IO_OK);
  int n = 0;
  EXPECT_EQ(fio::read_record(46, n), fio::IO_BAD_RECORD);
}

TEST_F(FioFileTest, LineUnitsHandEachLineToTheFile) {
  ASSERT_EQ(fio::open(47, path("log.txt"), fio::Mode::Write), fio::IO_OK);
  fio::write_list(47, "- ANALYSIS STARTED");
  EXPECT_EQ(slurp(path("log.txt")), " - ANALYSIS STARTED\n");  // readable before close
}

TEST_F(FioFileTest, TwoThreadsOnTwoUnitsGiveWholeLines) {
  constexpr int LINES = 2000;
  ASSERT_EQ(fio::open(48, path("a.txt"), fio::Mode::Write, fio::Form::Formatted, fio::Buffering::Block), fio::IO_OK);
  ASSERT_EQ(fio::open(49, path("b.txt"), fio::Mode::Write), fio::IO_OK);
  auto writer = [](int unit) {
    for (int k = 1; k <= LINES; ++k) {
      fio::append(unit, "ROW");
      fio::write(unit, "(I6,\\)", k);
      fio::write(unit, "(F10.2)", k * 0.5);
    }
  };
  std::thread first(writer, 48);
  std::thread second(writer, 49);
  first.join();
  second.join();
  fio::close(48);
  fio::close(49);
  for (const char* name : {"a.txt", "b.txt"}) {
    std::ifstream in(path(name));
    std::string line;
    int k = 0;
    while (std::getline(in, line)) {
      ++k;
      char expected[64];
      std::snprintf(expected, sizeof expected, "ROW%6d%10.2f", k, k * 0.5);
      ASSERT_EQ(line, expected) << name;
    }
    EXPECT_EQ(k, LINES) << name;
  }
}

// Blocks formatted by several threads into captures and handed over in order
// give the file one thread writing them all gives, byte for byte: a line the
// unit left open is continued, a block's own open line is continued by the
// next block, and writes of a thread without a capture go to the file.
TEST_F(FioFileTest, CapturedBlocksHandedOverInOrderEqualDirectWrites) {
  constexpr int BLOCKS = 12;
  auto block = [](int unit, int b) {
    fio::write(unit, "(\" BLOCK\",I4)", b);
    for (int k = 1; k <= b; ++k) fio::write(unit, "(I6,1P,E14.5,0P,F9.3)", k, b * 1.0e-3 / k, k * 0.25);
    fio::append(unit, "OPEN");  // left open: the next block continues it
  };
  ASSERT_EQ(fio::open(50, path("direct.txt"), fio::Mode::Write), fio::IO_OK);
  fio::append(50, "LEAD");
  for (int b = 1; b <= BLOCKS; ++b) block(50, b);
  fio::close(50);

  ASSERT_EQ(fio::open(50, path("captured.txt"), fio::Mode::Write), fio::IO_OK);
  fio::append(50, "LEAD");
  std::vector<std::string> texts(BLOCKS);
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&, t] {
      for (int b = 1 + t; b <= BLOCKS; b += 4) {
        fio::CaptureUnit capture(50);
        block(50, b);
        texts[static_cast<std::size_t>(b - 1)] = capture.take();
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  for (const std::string& text : texts) EXPECT_EQ(fio::write_captured(50, text), fio::IO_OK);
  fio::close(50);
  EXPECT_EQ(slurp(path("captured.txt")), slurp(path("direct.txt")));
  EXPECT_NE(slurp(path("direct.txt")).find("OPEN BLOCK   2\n"), std::string::npos);

  ASSERT_EQ(fio::open(51, path("shared.txt"), fio::Mode::Write), fio::IO_OK);
  std::string captured;
  std::thread other([&] {
    fio::CaptureUnit capture(51);
    fio::write(51, "(\"CAPTURED\")");
    captured = capture.take();
  });
  other.join();
  fio::write(51, "(\"DIRECT\")");
  fio::close(51);
  EXPECT_EQ(captured, "CAPTURED\n");
  EXPECT_EQ(slurp(path("shared.txt")), "DIRECT\n");
}

// Guards a Release build that let both pass silently: a capture ended on
// another thread left its maker's thread-local slot on freed memory, and a
// nested one left the outer capture unregistered.
TEST(CaptureUnitDeathTest, MisuseAbortsInEveryBuild) {
  ::testing::FLAGS_gtest_death_test_style = "threadsafe";
  EXPECT_DEATH(
      {
        auto capture = std::make_unique<fio::CaptureUnit>(52);
        std::thread other([&] { capture.reset(); });
        other.join();
      },
      "destroyed by the thread that made it");
  EXPECT_DEATH(
      {
        fio::CaptureUnit outer(52);
        fio::CaptureUnit inner(53);
      },
      "one capture per thread at a time");
}

TEST_F(FioFileTest, UnitsOutsideTheTableAreRefused) {
  EXPECT_EQ(fio::open(-1, path("x"), fio::Mode::Write), fio::IO_BAD_UNIT);
  EXPECT_EQ(fio::open(fio::MAX_UNIT + 1, path("x"), fio::Mode::Write), fio::IO_BAD_UNIT);
  EXPECT_EQ(fio::write(50, "(I3)", 1), fio::IO_NOT_OPEN);
  fio::close(50);  // closing a unit that is not open does nothing
}

// The device that is always full refuses every byte handed to it.
constexpr const char* FULL_DEVICE = "/dev/full";

TEST_F(FioFileTest, RefusedWritesAreReportedAndTheFirstIsRecorded) {
  if (!fs::exists(FULL_DEVICE)) GTEST_SKIP() << "no " << FULL_DEVICE;
  fio::WriteFailure failure;
  EXPECT_FALSE(fio::first_write_failure(failure));
  // A line unit fails at the line; a block unit only when its buffer goes.
  ASSERT_EQ(fio::open(50, FULL_DEVICE, fio::Mode::Write), fio::IO_OK);
  ASSERT_EQ(fio::open(51, FULL_DEVICE, fio::Mode::Write, fio::Form::Formatted, fio::Buffering::Block), fio::IO_OK);
  EXPECT_EQ(fio::write(51, "(\"BUFFERED\")"), fio::IO_OK);
  EXPECT_EQ(fio::write(50, "(\"LOST\")"), fio::IO_WRITE_FAILED);
  EXPECT_EQ(fio::flush(51), fio::IO_WRITE_FAILED);
  ASSERT_TRUE(fio::first_write_failure(failure));
  EXPECT_EQ(failure.unit, 50);
  EXPECT_EQ(failure.path, FULL_DEVICE);
  EXPECT_EQ(failure.error, ENOSPC) << "the system's reason of the refused write";
  // The record stays with the first failure until it is cleared.
  fio::clear_write_failure();
  EXPECT_FALSE(fio::first_write_failure(failure));
  EXPECT_EQ(fio::write(51, "(\"BUFFERED AGAIN\")"), fio::IO_OK);
  EXPECT_EQ(fio::close(51), fio::IO_WRITE_FAILED);
  ASSERT_TRUE(fio::first_write_failure(failure));
  EXPECT_EQ(failure.unit, 51);
}

TEST_F(FioFileTest, MemoryUnitsAndAcceptedWritesRecordNothing) {
  fio::open_memory(52);
  fio::write(52, "(\"TEXT\")");
  fio::close(52);
  ASSERT_EQ(fio::open(53, path("report.txt"), fio::Mode::Write, fio::Form::Formatted, fio::Buffering::Block),
            fio::IO_OK);
  fio::write(53, "(\"TEXT\")");
  EXPECT_EQ(fio::close(53), fio::IO_OK);
  fio::WriteFailure failure;
  EXPECT_FALSE(fio::first_write_failure(failure));
}

}  // namespace
}  // namespace pilecap
