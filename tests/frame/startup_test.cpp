#include "frame/startup.h"

#include <gtest/gtest.h>

#include "frame/protocol.h"
#include "records/bytes.h"
#include "support/shell_fixture.h"
#include "support/temp_dir.h"

namespace qj {
namespace {

using test::markedShell;
using test::TempDir;
using test::writeShellFile;

class Startup : public ::testing::Test {
 protected:
  void SetUp() override { state.folder = std::make_unique<ProgramFolder>(dir.path()); }
  std::vector<std::string> texts(const std::vector<Message>& messages) const {
    std::vector<std::string> out;
    for (const auto& m : messages) out.push_back(m.utf8(state.texts));
    return out;
  }

  TempDir dir;
  AppState state;
};

TEST(StartupMessages, AreWrittenOutInFull) {
  const ShellTables none;
  EXPECT_EQ(noShellFilesMessage().utf8(none),
            "There are no files of language shells in the folder \"Shells\". In this regard, "
            "there will an emergency exit from the program.");
  EXPECT_EQ(noShellFilesMessage().kind, MessageKind::Warning);
  EXPECT_EQ(noLanguageChosenMessage().utf8(none), "A shell language is not selected.");
  EXPECT_EQ(noLanguageChosenMessage().kind, MessageKind::Warning);
  EXPECT_EQ(chosenShellMissingMessage("Shell (QJ 1.6).deu").utf8(none),
            "The chosen file \"Shell (QJ 1.6).deu\" of language shell is missing in the folder "
            "\"Shells\". In this regard, there will an emergency exit from the program.");
  EXPECT_EQ(chosenShellMissingMessage("x").kind, MessageKind::Warning);
  EXPECT_EQ(shellUnreadableMessage("Shell (QJ 1.6).eng", "it is damaged.").utf8(none),
            "The language shell \"Shell (QJ 1.6).eng\" cannot be used: it is damaged. In this "
            "regard, there will an emergency exit from the program.");
  EXPECT_EQ(shellUnreadableMessage("x", "y").kind, MessageKind::Error);
}

TEST_F(Startup, ShellFilesAreThoseWithAThreeCharacterExtension) {
  for (const char* ext : {"rus", "eng", "en", "engl", "рус"})
    writeShellFile(dir, ext, markedShell());
  dir.write("Shells/Shell (QJ 1.5).deu", "x");
  dir.write("Shells/notes.txt", "x");
  std::filesystem::create_directories(dir / "Shells/Shell (QJ 1.6).dir");
  EXPECT_EQ(
      findShellFiles(state.dirs()),
      (std::vector<std::string>{"Shell (QJ 1.6).eng", "Shell (QJ 1.6).rus", "Shell (QJ 1.6).рус"}));
}

TEST_F(Startup, TheLanguageCodeIsTheExtensionInCodePage1251) {
  EXPECT_EQ(langCodeOfShellFile("Shell (QJ 1.6).eng"), "eng");
  EXPECT_EQ(langCodeOfShellFile("Shell (QJ 1.6).Рус"), "\xD0\xF3\xF1");
}

TEST_F(Startup, TheChooserOffersTheStoredNamesInFileOrder) {
  writeShellFile(dir, "rus", markedShell("rus \xD0\xF3\xF1\xF1\xEA\xE8\xE9"), true);
  writeShellFile(dir, "eng", markedShell("eng English"));
  dir.write("Shells/Shell (QJ 1.6).xyz", "tiny");
  const auto files = findShellFiles(state.dirs());
  EXPECT_EQ(languageNames(state.dirs(), files),
            (std::vector<std::string>{"eng English", "rus \xD0\xF3\xF1\xF1\xEA\xE8\xE9", ""}));
}

TEST_F(Startup, TheChosenNameSelectsTheFileByItsFirstThreeCharacters) {
  writeShellFile(dir, "eng", markedShell("rus named wrongly"));
  writeShellFile(dir, "rus", markedShell("eng named wrongly"), true);
  const LanguageChoice choice = chooseLanguage(state.dirs(), "rus named wrongly");
  EXPECT_FALSE(choice.failure);
  EXPECT_EQ(choice.langCode, "rus");
  EXPECT_EQ(choice.fileName, "Shell (QJ 1.6).rus");
}

TEST_F(Startup, AChosenLanguageWithoutItsFileEndsTheProgram) {
  writeShellFile(dir, "eng", markedShell("deu Deutsch"));
  writeShellFile(dir, "rus", markedShell("rus"), true);
  const LanguageChoice choice = chooseLanguage(state.dirs(), "deu Deutsch");
  ASSERT_TRUE(choice.failure);
  EXPECT_EQ(choice.failure->utf8({}),
            "The chosen file \"Shell (QJ 1.6).deu\" of language shell is missing in the folder "
            "\"Shells\". In this regard, there will an emergency exit from the program.");
  EXPECT_TRUE(choice.fileName.empty());
}

TEST_F(Startup, TheChosenFileIsFoundWithoutRegardToLetterCase) {
  writeShellFile(dir, "ENG", markedShell("eng English"));
  const LanguageChoice choice = chooseLanguage(state.dirs(), "eng English");
  EXPECT_FALSE(choice.failure);
  EXPECT_EQ(choice.fileName, "Shell (QJ 1.6).ENG");
}

TEST_F(Startup, LoadingASingleShellFillsTheStateAndCreatesTheProtocol) {
  writeShellFile(dir, "eng", markedShell());
  const ShellLoad load = loadShell(state, "Shell (QJ 1.6).eng", "eng", '.');
  ASSERT_TRUE(load.loaded);
  EXPECT_EQ(state.langCode, "eng");
  EXPECT_EQ(state.shellFileName, "Shell (QJ 1.6).eng");
  EXPECT_EQ(state.texts.shell(419), "S419");
  EXPECT_EQ(state.texts.shortText(2), "s2");
  EXPECT_EQ(state.decSep, '.');
  EXPECT_EQ(texts(load.messages), std::vector<std::string>{"S294..."});
  EXPECT_EQ(dir.read("System/protocol.pro"), writeProtocolFile({}));
  EXPECT_TRUE(state.protocolFileOk);
}

TEST_F(Startup, RussianShellsAreReadWithTheirNotes) {
  writeShellFile(dir, "рус", markedShell("\xF0\xF3\xF1"), true);
  dir.write("System/protocol.pro", writeProtocolFile({}));
  const ShellLoad load = loadShell(state, "Shell (QJ 1.6).рус", "\xF0\xF3\xF1", ',');
  ASSERT_TRUE(load.loaded);
  EXPECT_TRUE(load.messages.empty());
  EXPECT_EQ(state.texts.shortText(0), "s0");
  EXPECT_EQ(state.texts.shell(419), "S419");
  EXPECT_EQ(state.shellFileName, "Shell (QJ 1.6).\xF0\xF3\xF1");

  // "RUS" is not a Russian code: the notes are taken for texts and everything shifts.
  writeShellFile(dir, "RUS", markedShell("RUS"), true);
  AppState other;
  other.folder = std::make_unique<ProgramFolder>(dir.path());
  ASSERT_TRUE(loadShell(other, "Shell (QJ 1.6).RUS", "RUS", ',').loaded);
  EXPECT_EQ(other.texts.shortText(0), "note 0");
}

TEST_F(Startup, ADamagedShellEndsTheStartUpBeforeTheProtocol) {
  ByteWriter w;
  w.shortString("eng", 24);
  w.i32(0);
  w.i32(2000000000);
  w.i32(0);
  dir.write("Shells/Shell (QJ 1.6).eng", w.bytes());
  dir.write("System/protocol.pro", "keep me");
  const ShellLoad load = loadShell(state, "Shell (QJ 1.6).eng", "eng", ',');
  EXPECT_FALSE(load.loaded);
  ASSERT_EQ(load.messages.size(), 1u);
  EXPECT_EQ(load.messages[0].kind, MessageKind::Error);
  EXPECT_NE(load.messages[0].utf8({}).find("2000000000"), std::string::npos);
  EXPECT_TRUE(state.texts.shellTexts.empty());
  EXPECT_FALSE(state.protocolFileOk);
  EXPECT_EQ(dir.read("System/protocol.pro"), "keep me");

  const ShellLoad missing = loadShell(state, "Shell (QJ 1.6).xyz", "xyz", ',');
  EXPECT_FALSE(missing.loaded);
  EXPECT_EQ(missing.messages.at(0).utf8({}),
            "The language shell \"Shell (QJ 1.6).xyz\" cannot be used: the file cannot be opened "
            "or read. In this regard, there will an emergency exit from the program.");
}

TEST_F(Startup, AShortShellLoadsWithEmptyTexts) {
  ShellTables few;
  few.languageName = "eng";
  few.shellTexts = {"zero", "one"};
  writeShellFile(dir, "eng", few);
  ASSERT_TRUE(loadShell(state, "Shell (QJ 1.6).eng", "eng", ',').loaded);
  EXPECT_EQ(state.texts.shell(1), "one");
  EXPECT_EQ(state.texts.shell(419), "");
}

}  // namespace
}  // namespace qj
