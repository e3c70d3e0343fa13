#include "EnvGuard.h"
#include "platform/VersionInfo.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

using namespace zrn;

TEST(VersionInfo, ProgramBlockCarriesTheReleaseStrings) {
    const VersionBlock& block = ProgramVersionBlock();
    EXPECT_EQ(block.nFileVersion, (std::array<std::uint16_t, 4>{2, 1, 0, 0}));
    EXPECT_EQ(block.nProductVersion, block.nFileVersion);
    EXPECT_EQ(QueryTranslations(block, "\\VarFileInfo\\Translation"),
              (std::vector<VersionTranslation>{{0x0409, 1200}}));
    const auto value = [&](const char* name) {
        return QueryVersionString(block, StringFileInfoPath({0x0409, 1200}, name));
    };
    EXPECT_EQ(StringFileInfoPath({0x0409, 1200}, "FileVersion"),
              "\\StringFileInfo\\040904B0\\FileVersion");
    EXPECT_EQ(value("FileVersion"), "2.1");
    EXPECT_EQ(value("ProductVersion"), "2.1");
    EXPECT_EQ(value("InternalName"), "ZRNcom");
    EXPECT_EQ(value("OriginalFilename"), "ZRNcom.EXE");
    EXPECT_EQ(value("ProductName"), "ZRNcom Application");
    EXPECT_TRUE(value("FileDescription"));
    EXPECT_TRUE(value("LegalCopyright"));
    EXPECT_FALSE(value("Comments"));
    EXPECT_FALSE(QueryVersionString(block, "\\StringFileInfo\\040704B0\\FileVersion"));
    EXPECT_FALSE(QueryTranslations(block, "\\StringFileInfo"));
}

TEST(VersionInfo, LanguageChoiceSteps) {
    const std::vector<VersionTranslation> table = {
        {0x0809, 1200}, {0x0407, 1252}, {0x0C07, 1200}, {0x0000, 1200}, {0x0409, 1200}};
    const auto choose = [&](std::vector<VersionTranslation> list, std::uint16_t user) {
        return ChooseTranslation(list, user);
    };
    EXPECT_EQ(choose(table, 0x0C07), (VersionTranslation{0x0C07, 1200})); // exact
    EXPECT_EQ(choose(table, 0x0807), (VersionTranslation{0x0407, 1252})); // same low byte
    EXPECT_EQ(choose(table, 0x0411), (VersionTranslation{0x0000, 1200})); // neutral
    EXPECT_EQ(choose({{0x0809, 1200}, {0x040C, 1200}}, 0x0411),
              (VersionTranslation{0x0809, 1200})); // English
    EXPECT_EQ(choose({{0x040C, 1200}, {0x0410, 1200}}, 0x0411),
              (VersionTranslation{0x040C, 1200})); // first
    EXPECT_EQ(choose({}, 0x0409), std::nullopt);
}

TEST(VersionInfo, GermanUserFindsTheEnglishBlock) {
    const VersionBlock& block = ProgramVersionBlock();
    EXPECT_EQ(ChooseTranslation(block.translations, 0x0407), (VersionTranslation{0x0409, 1200}));
    EXPECT_EQ(ReadFileVersion(block, 0x0407), "2.1");
    EXPECT_EQ(ReadFileVersion(VersionBlock{}, 0x0409), "");
}

TEST(VersionInfo, LanguageOfTheLocale) {
    EXPECT_EQ(LangIdFromLocale("de_DE.UTF-8"), 0x0407);
    EXPECT_EQ(LangIdFromLocale("de_AT.UTF-8@euro"), 0x0C07);
    EXPECT_EQ(LangIdFromLocale("en_US"), 0x0409);
    EXPECT_EQ(LangIdFromLocale("en_GB.UTF-8"), 0x0809);
    EXPECT_EQ(LangIdFromLocale("fr"), 0x040C);
    EXPECT_EQ(LangIdFromLocale("C"), 0x0409);
    EXPECT_EQ(LangIdFromLocale("C.UTF-8"), 0x0409);
    EXPECT_EQ(LangIdFromLocale("POSIX"), 0x0409);
    EXPECT_EQ(LangIdFromLocale(""), 0x0409);
}

TEST(VersionInfo, UserLanguageFollowsLocaleVariablePrecedence) {
    const EnvGuard all("LC_ALL", "");
    std::optional<EnvGuard> messages(std::in_place, "LC_MESSAGES", "fr_FR.UTF-8");
    std::optional<EnvGuard> lang(std::in_place, "LANG", "de_DE.UTF-8");
    EXPECT_EQ(UserDefaultLangId(), 0x040C);
    messages.emplace("LC_MESSAGES", nullptr);
    EXPECT_EQ(UserDefaultLangId(), 0x0407);
    lang.emplace("LANG", nullptr);
    EXPECT_EQ(UserDefaultLangId(), 0x0409);
}

TEST(VersionInfo, BrowserCommandReplacesThePlaceholder) {
    EXPECT_EQ(BrowserCommand("\"C:\\browser.exe\" -url \"%1\"", "http://example.org"),
              "\"C:\\browser.exe\" -url  http://example.org");
    EXPECT_EQ(BrowserCommand("firefox %1 --new", "http://example.org"),
              "firefox  http://example.org");
    EXPECT_EQ(BrowserCommand("firefox", "http://example.org"), "firefox http://example.org");
    EXPECT_EQ(BrowserCommand("b %1 \"%1\"", "u"), "b %1  u");
}
