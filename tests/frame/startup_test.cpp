#include "frame/startup.h"

#include "frame/frame_fixture.h"

namespace qj {
namespace {

using test::markedShell;
using test::V;
using test::writeShellFile;

using Startup = test::FrameTest;

TEST_F(Startup, ShellFilesAreThoseWithAThreeCharacterExtensionNamedInFileOrder) {
  for (const char* ext : {"en", "engl", "рус"}) writeShellFile(dir, ext, markedShell());
  writeShellFile(dir, "rus", markedShell("rus \xD0\xF3\xF1\xF1\xEA\xE8\xE9"), true);
  writeShellFile(dir, "eng", markedShell("eng English"));
  dir.write("Shells/Shell (QJ 1.6).xyz", "tiny");
  dir.write("Shells/Shell (QJ 1.5).deu", "x");
  dir.write("Shells/notes.txt", "x");
  std::filesystem::create_directories(dir / "Shells/Shell (QJ 1.6).dir");
  const V files = findShellFiles(state.dirs());
  EXPECT_EQ(files, (V{"Shell (QJ 1.6).eng", "Shell (QJ 1.6).rus", "Shell (QJ 1.6).xyz",
                      "Shell (QJ 1.6).рус"}));
  EXPECT_EQ(languageNames(state.dirs(), files),
            (V{"eng English", "rus \xD0\xF3\xF1\xF1\xEA\xE8\xE9", "", "eng English"}));
  EXPECT_EQ(langCodeOfShellFile("Shell (QJ 1.6).Рус") + langCodeOfShellFile("\x80\x80"),
            "\xD0\xF3\xF1??");  // a malformed byte is a character
}

// The chosen name selects the file by its first three characters, in any letter case.
TEST_F(Startup, TheChosenNameSelectsTheFile) {
  writeShellFile(dir, "ENG", markedShell("rus named wrongly"));
  writeShellFile(dir, "rus", markedShell("eng named wrongly"), true);
  LanguageChoice choice = chooseLanguage(state.dirs(), "rus named wrongly");
  EXPECT_FALSE(choice.failure);
  EXPECT_EQ(choice.langCode, "rus");
  EXPECT_EQ(choice.fileName, "Shell (QJ 1.6).rus");
  choice = chooseLanguage(state.dirs(), "eng named wrongly");
  EXPECT_EQ(choice.fileName, "Shell (QJ 1.6).ENG");

  choice = chooseLanguage(state.dirs(), "deu Deutsch");
  ASSERT_TRUE(choice.failure);
  EXPECT_EQ(choice.failure->utf8({}),
            "The chosen file \"Shell (QJ 1.6).deu\" of language shell is missing in the folder "
            "\"Shells\". In this regard, there will an emergency exit from the program.");
}

TEST_F(Startup, LoadingAShellFillsTheStateAndCreatesTheProtocol) {
  writeShellFile(dir, "eng", markedShell());
  const ShellLoad load = loadShell(state, "Shell (QJ 1.6).eng", "eng", '.');
  ASSERT_TRUE(load.loaded);
  EXPECT_EQ(std::tuple(state.langCode, state.shellFileName, state.texts.shell(419), state.decSep),
            std::tuple("eng", "Shell (QJ 1.6).eng", "S419", '.'));
  EXPECT_EQ(texts(load.messages), V{"S294..."});
  EXPECT_EQ(dir.read("System/protocol.pro"), writeProtocolFile({}));

  // Russian shells are read with their notes; "RUS" is not a Russian code, so the notes are
  // taken for texts.
  writeShellFile(dir, "рус", markedShell("\xF0\xF3\xF1"), true);
  writeShellFile(dir, "RUS", markedShell("RUS"), true);
  for (const auto& [ext, code, first] :
       {std::tuple{"рус", "\xF0\xF3\xF1", "s0"}, {"RUS", "RUS", "note 0"}}) {
    AppState other;
    other.folder = std::make_unique<ProgramFolder>(dir.path());
    const ShellLoad r = loadShell(other, std::string("Shell (QJ 1.6).") + ext, code, ',');
    ASSERT_TRUE(r.loaded) << ext;
    EXPECT_TRUE(r.messages.empty());
    EXPECT_EQ(other.texts.shortText(0), first);
  }
}

TEST_F(Startup, ADamagedShellEndsTheStartUpBeforeTheProtocol) {
  state.texts = {};
  dir.write("Shells/Shell (QJ 1.6).eng", "damaged");
  dir.write("System/protocol.pro", "keep me");
  const ShellLoad load = loadShell(state, "Shell (QJ 1.6).eng", "eng", ',');
  EXPECT_FALSE(load.loaded);
  ASSERT_EQ(load.messages.size(), 1u);
  EXPECT_EQ(load.messages[0].kind, MessageKind::Error);
  EXPECT_TRUE(state.texts.shellTexts.empty());
  EXPECT_FALSE(state.protocolFileOk);
  EXPECT_EQ(dir.read("System/protocol.pro"), "keep me");

  const ShellLoad missing = loadShell(state, "Shell (QJ 1.6).xyz", "xyz", ',');
  EXPECT_FALSE(missing.loaded);
  EXPECT_EQ(texts(missing.messages),
            V{"The language shell \"Shell (QJ 1.6).xyz\" cannot be used: the file cannot be opened "
              "or read. In this regard, there will an emergency exit from the program."});
}

}  // namespace
}  // namespace qj
