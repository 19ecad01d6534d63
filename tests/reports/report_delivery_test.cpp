// Where a printed report goes: the default queue on its own paper, or a PDF file in Print/
// when there is no queue or the queue does not take the job; what the user is told.

#include <gtest/gtest.h>

#include "reports/print_output.h"
#include "support/fake_print_system.h"
#include "support/shell_fixture.h"
#include "support/temp_dir.h"

namespace qj {
namespace {

using test::FakePrintSystem;

const CivilDateTime kNow{2026, 3, 7, 9, 5, 2};
constexpr PaperSize kOdd{100, 150};

struct Delivery {
  std::optional<Message> message;
  std::vector<PaperSize> rendered;  // the papers the report was drawn on
  std::vector<std::string> shown;   // the files handed to the desktop's viewer
  std::optional<FollowedReport> followed;
};

class ReportDelivery : public ::testing::Test {
 protected:
  Delivery deliver(PrintSystem* printers, bool drawable = true, bool viewer = true) {
    Delivery d;
    const ReportJob job{ReportKind::Solution, "ROUND1", "Report of ROUND1",
                        [&](const PaperSize& paper) -> std::optional<std::string> {
                          d.rendered.push_back(paper);
                          if (!drawable) return std::nullopt;
                          return "%PDF " + std::to_string(paper.widthMm);
                        }};
    const ReportTargets targets{
        printers, kOdd,
        [&] {
          std::error_code ec;  // as the program folder makes it, where it can
          std::filesystem::create_directories(dir / "Print", ec);
          return dir / "Print";
        },
        kNow,
        [&](const std::filesystem::path& path) {
          d.shown.push_back(path.string());
          return viewer;
        }};
    const qj::ReportDelivery delivered = deliverReport(job, targets);
    d.message = delivered.message;
    d.followed = delivered.followed;
    return d;
  }
  std::string text(const std::optional<Message>& m) const {
    return m ? m->utf8(test::markedShell()) : std::string();
  }
  std::string pdf() const {
    return (dir / "Print/qj_ROUND1_solution_20260307-090502.pdf").string();
  }
  std::string folder() const { return (dir / "Print").string(); }

  test::TempDir dir;
  FakePrintSystem printers;
};

// With no print system, or one that names no default queue, the report becomes a file on
// the paper given for files, and the desktop shows it. A print system that was not reached or
// did not answer is said, with the file.
TEST_F(ReportDelivery, WithoutAQueueTheReportIsAFileOnTheLocalePaper) {
  const std::string file =
      " S964 \"qj_ROUND1_solution_20260307-090502.pdf\" S963 \"" + folder() + "\".";
  const struct {
    bool system, answered, reached;
    std::string message;
  } cases[] = {
      {false, true, true, ""},
      {true, true, true, ""},
      {true, true, false, "S1269" + file},  // nothing listens where it should be
      {true, false, true, "S1260" + file},  // it took the question and never answered
  };
  for (const auto& c : cases) {
    std::filesystem::remove_all(dir / "Print");
    printers.answered = c.answered;
    printers.reached = c.reached;
    const Delivery d = deliver(c.system ? &printers : nullptr);
    EXPECT_EQ(text(d.message), c.message);
    EXPECT_EQ(d.rendered, std::vector<PaperSize>{kOdd});
    EXPECT_EQ(d.shown, std::vector<std::string>{pdf()});
    EXPECT_EQ(dir.read("Print/qj_ROUND1_solution_20260307-090502.pdf"), "%PDF 100.000000");
  }
  EXPECT_TRUE(printers.jobs.empty());
  // A report of the same second, with a link planted at the next name: it is passed over.
  const auto second = dir / "Print/qj_ROUND1_solution_20260307-090502_2.pdf";
  std::filesystem::create_symlink(dir / "elsewhere", second);
  EXPECT_EQ(deliver(nullptr).shown,
            std::vector<std::string>{(dir / "Print/qj_ROUND1_solution_20260307-090502_3.pdf")});
  EXPECT_TRUE(std::filesystem::is_symlink(second));
  EXPECT_FALSE(std::filesystem::exists(dir / "elsewhere"));
}

// A queue prints on its own paper, or on the paper for files when it names none. A job it
// prints or holds leaves no file; one it refuses or fails becomes a file, and the message says
// that it was not printed and where the report went.
TEST_F(ReportDelivery, TheQueueDecidesThePaperAndItsVerdictTheMessage) {
  const struct {
    std::optional<PaperSize> paper;
    JobFate fate;
    bool viewer;
    PaperSize rendered;
    bool file;
    std::string message;
    MessageKind kind = MessageKind::Error;
    std::string reason = "";  // the print system's words
  } cases[] = {
      {kPaperLetter, JobFate::Printed, true, kPaperLetter, false, ""},
      {std::nullopt, JobFate::Printed, true, kOdd, false, ""},
      {kPaperA4, JobFate::Paused, true, kPaperA4, false, "S965 \"Office \xD0\x9F\".",
       MessageKind::Information},
      {kPaperA4, JobFate::Held, true, kPaperA4, false, "S1264 \"Office \xD0\x9F\", S1265.",
       MessageKind::Information},
      {kPaperA4, JobFate::Stopped, true, kPaperA4, false,
       "S1264 \"Office \xD0\x9F\", S1266: Paper jam \xD0\x9F.", MessageKind::Warning,
       "Paper jam \xD0\x9F."},
      {kPaperA4, JobFate::Retrying, true, kPaperA4, false,
       "S1264 \"Office \xD0\x9F\", S1267: Busy.", MessageKind::Warning, "Busy"},
      {kPaperLetter, JobFate::Refused, true, kPaperLetter, true,
       "S960 \"Office \xD0\x9F\". S964 F."},
      {kPaperLetter, JobFate::Refused, false, kPaperLetter, true,
       "S960 \"Office \xD0\x9F\". S964 F."},
      {kPaperLetter, JobFate::Refused, true, kPaperLetter, true,
       "S960 \"Office \xD0\x9F\". S1263: Not accepting jobs. S964 F.", MessageKind::Error,
       "Not accepting jobs."},
      {kPaperLetter, JobFate::Aborted, true, kPaperLetter, true,
       "S960 \"Office \xD0\x9F\". S1262: Out of order. S964 F.", MessageKind::Error,
       "Out of order"},
      {kPaperLetter, JobFate::Cancelled, true, kPaperLetter, true,
       "S960 \"Office \xD0\x9F\". S1261. S964 F."},
      {kPaperLetter, JobFate::NoAnswer, true, kPaperLetter, true,
       "S960 \"Office \xD0\x9F\". S1260 S964 F."},
  };
  for (const auto& c : cases) {
    std::filesystem::remove_all(dir / "Print");
    printers.jobs.clear();
    printers.queue = PrintQueue{"Office \xD0\x9F", c.paper};  // "Office П"
    printers.fate = c.fate;
    printers.reason = c.reason;
    const Delivery d = deliver(&printers, true, c.viewer);
    std::string expected = c.message;
    if (const size_t f = expected.find(" F."); f != std::string::npos)
      expected.replace(f, 3,
                       " \"qj_ROUND1_solution_20260307-090502.pdf\" S963 \"" + folder() + "\".");
    EXPECT_EQ(text(d.message), expected);
    if (d.message) {
      EXPECT_EQ(d.message->kind, c.kind);
    }
    // A job still in the queue is followed, with the report kept for a file.
    EXPECT_EQ(d.followed.has_value(), stillQueued(c.fate));
    if (d.followed) {
      EXPECT_EQ(d.followed->pdf, printers.jobs[0].pdf);
    }
    EXPECT_EQ(d.rendered, std::vector<PaperSize>{c.rendered});
    ASSERT_EQ(printers.jobs.size(), 1u);
    EXPECT_EQ(printers.jobs[0].queue, "Office \xD0\x9F");
    EXPECT_EQ(printers.jobs[0].title, "Report of ROUND1");
    EXPECT_EQ(printers.jobs[0].pdf, "%PDF " + std::to_string(c.rendered.widthMm));
    EXPECT_EQ(std::filesystem::exists(pdf()), c.file);
    EXPECT_EQ(d.shown, c.file ? std::vector<std::string>{pdf()} : std::vector<std::string>{});
  }
}

// What cannot be drawn or written is said: for the printer when there is one, else for the
// file; a refused job whose file cannot be written either names both.
TEST_F(ReportDelivery, WhatCannotBeDrawnOrWrittenIsSaid) {
  dir.write("Print", "a file where the folder should be");
  const std::string blocked = (dir / "Print").string() + "/qj_ROUND1_solution_20260307-090502.pdf";
  printers.queue = PrintQueue{"Office", kPaperA4};
  Delivery d = deliver(&printers, false);
  EXPECT_EQ(text(d.message), "S960 \"Office\".");
  EXPECT_TRUE(printers.jobs.empty());
  printers.fate = JobFate::Refused;
  d = deliver(&printers);
  EXPECT_EQ(text(d.message), "S960 \"Office\". S961 \"" + blocked + "\".");
  EXPECT_EQ(d.message->kind, MessageKind::Error);
  printers.queue.reset();
  d = deliver(&printers, false);
  EXPECT_EQ(text(d.message), "S961 \"" + blocked + "\".");
  d = deliver(&printers);
  EXPECT_EQ(text(d.message), "S961 \"" + blocked + "\".");
  EXPECT_TRUE(d.shown.empty());
}

// The program closes before the print system has ended some jobs: their reports are kept as
// files, shown to nobody, and one message names them with their printers; a report that cannot
// be written is said instead.
TEST_F(ReportDelivery, ReportsOfJobsNotEndedWhenTheProgramClosesAreKept) {
  const ReportTargets targets{nullptr, kOdd, [&] { return dir / "Print"; }, kNow,
                              [](const std::filesystem::path& p) {
                                ADD_FAILURE() << "shown: " << p;
                                return true;
                              }};
  std::vector<FollowedReport> followed;
  EXPECT_FALSE(keepUnendedReports(followed, targets));
  followed = {{1, "Office \xD0\x9F", ReportKind::Task, "ROUND1", kNow, "%PDF one"},
              {2, "Hall", ReportKind::Solution, "ROUND1", kNow, "%PDF two"}};
  std::filesystem::create_directories(dir / "Print");
  std::optional<Message> said = keepUnendedReports(followed, targets);
  EXPECT_EQ(text(said), "S1273 \"" + folder() +
                            "\": \"qj_ROUND1_task_20260307-090502.pdf\" S1274 \"Office \xD0\x9F\", "
                            "\"qj_ROUND1_solution_20260307-090502.pdf\" S1274 \"Hall\".");
  EXPECT_EQ(said->kind, MessageKind::Warning);
  EXPECT_TRUE(followed.empty());
  EXPECT_EQ(dir.read("Print/qj_ROUND1_task_20260307-090502.pdf"), "%PDF one");
  EXPECT_EQ(dir.read("Print/qj_ROUND1_solution_20260307-090502.pdf"), "%PDF two");

  std::filesystem::remove_all(dir / "Print");
  dir.write("Print", "a file where the folder should be");
  followed = {{3, "Hall", ReportKind::Task, "ROUND2", kNow, "%PDF three"}};
  said = keepUnendedReports(followed, targets);
  EXPECT_EQ(text(said), "S961 \"" + folder() + "/qj_ROUND2_task_20260307-090502.pdf\".");
  EXPECT_EQ(said->kind, MessageKind::Error);
}

}  // namespace
}  // namespace qj
