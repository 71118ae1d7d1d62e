// Where the program finds its module, plug-ins, settings and report files, in
// a build folder, an installed (or unpacked) tree and a MASTERDATA_HOME folder.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "inifile.h"
#include "routines.h"
#include "testdb.h"

namespace {

class ProgramPathsTest : public ::testing::Test {
  protected:
    // <root>/usr/bin is the running program's folder; the user's folders are
    // <root>/home/.local/share/masterdata and <root>/home/.config/masterdata.
    ProgramPathsTest() {
        for (const char* folder : {"usr/bin", "usr/lib/masterdata", "usr/share/masterdata/reports",
                                   "etc/masterdata", "data", "config", "home"})
            QDir(root.path()).mkpath(folder);
    }

    QString at(const QString& relative) const { return root.path() + "/" + relative; }
    void write(const QString& relative, const QByteArray& bytes) {
        QFile file(at(relative));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    md::ProgramPaths resolve(const QString& home = QString()) const {
        return md::ResolveProgramPaths(at("usr/bin"), home, at("data"), at("config"));
    }
    // The settings file a program of this layout reads.
    QString settings(const md::ProgramPaths& paths, const QString& name) const {
        return md::FindFileInFolders({paths.settingsFolder, paths.defaultSettingsFolder}, name);
    }

    QTemporaryDir root;
};

TEST_F(ProgramPathsTest, ABuildFolderHoldsEverythingBesideTheProgram) {
    write("usr/bin/softconfig.ini", "[config]\nfontsize=12\n");
    write("etc/masterdata/softconfig.ini", "[config]\nfontsize=10\n");
    const md::ProgramPaths paths = resolve();
    EXPECT_EQ(paths.programFolder, at("usr/bin/"));
    EXPECT_EQ(settings(paths, "softconfig.ini"), at("usr/bin/softconfig.ini"));
    EXPECT_EQ(paths.moduleFolders.first(), at("usr/bin/"));
    EXPECT_EQ(paths.pluginFolders.first(), at("usr/bin/"));
    EXPECT_EQ(paths.reportFolders.first(), at("usr/bin/"));
    EXPECT_EQ(paths.reportFolders.count(at("usr/bin/")), 1);  // each folder once
}

TEST_F(ProgramPathsTest, AnInstalledProgramReadsTheUsersSettingsElseTheInstalledDefaults) {
    write("etc/masterdata/softconfig.ini", "[config]\nfontsize=10\n");
    write("etc/masterdata/colorConfig.ini", "[fcolor]\n");
    const md::ProgramPaths paths = resolve();
    // localData.db goes to the user's data folder, never beside /usr/bin.
    EXPECT_EQ(paths.programFolder, at("data/"));
    EXPECT_EQ(paths.settingsFolder, at("config/"));
    EXPECT_EQ(paths.defaultSettingsFolder, at("etc/masterdata/"));
    EXPECT_EQ(settings(paths, "softconfig.ini"), at("etc/masterdata/softconfig.ini"));

    write("config/SoftConfig.INI", "[config]\nfontsize=14\n");  // copied from Windows
    EXPECT_EQ(settings(paths, "softconfig.ini"), at("config/SoftConfig.INI"));
    EXPECT_EQ(settings(paths, "colorConfig.ini"), at("etc/masterdata/colorConfig.ini"));
    EXPECT_EQ(settings(paths, "nosuch.ini"), "");
}

TEST_F(ProgramPathsTest, AnInstalledProgramFindsItsModuleAndPluginsInItsLibraryFolder) {
    const md::ProgramPaths paths = resolve();
    EXPECT_TRUE(paths.moduleFolders.contains(at("usr/lib/masterdata/")));
    EXPECT_EQ(paths.pluginFolders.first(), at("usr/lib/masterdata/"));
    // A library dropped into the user's folder is not loaded in the package's stead.
    EXPECT_FALSE(paths.pluginFolders.contains(at("data/")));
}

TEST_F(ProgramPathsTest, TheUsersReportFileComesBeforeTheInstalledOne) {
    write("usr/share/masterdata/reports/吊牌.frf", "installed");
    write("usr/share/masterdata/reports/产品序列号.frf", "installed");
    const md::ProgramPaths paths = resolve();
    EXPECT_EQ(md::FindFileInFolders(paths.reportFolders, "吊牌.frf"),
              at("usr/share/masterdata/reports/吊牌.frf"));
    write("data/吊牌.frf", "the company's own hang tag");
    EXPECT_EQ(md::FindFileInFolders(paths.reportFolders, "吊牌.frf"), at("data/吊牌.frf"));
    EXPECT_EQ(md::FindFileInFolders(paths.reportFolders, "产品序列号.frf"),
              at("usr/share/masterdata/reports/产品序列号.frf"));
}

TEST_F(ProgramPathsTest, MasterdataHomeNamesTheProgramFolderWithTheInstalledDefaultsBehind) {
    write("usr/bin/softconfig.ini", "[config]\nfontsize=12\n");  // a build folder or not
    write("etc/masterdata/softconfig.ini", "[config]\nfontsize=10\n");
    const md::ProgramPaths paths = resolve(at("home"));
    EXPECT_EQ(paths.programFolder, at("home/"));
    EXPECT_EQ(paths.pluginFolders.first(), at("home/"));
    EXPECT_EQ(paths.reportFolders.first(), at("home/"));
    // Without its own settings files the folder still gets sizes and colours.
    EXPECT_EQ(settings(paths, "softconfig.ini"), at("etc/masterdata/softconfig.ini"));
    write("home/softconfig.ini", "[config]\nfontsize=11\n");
    EXPECT_EQ(settings(paths, "softconfig.ini"), at("home/softconfig.ini"));
}

TEST(ProgramPathsOfThisProcess, FollowMasterdataHome) {
    md::test::ProgramHome home;
    const md::ProgramPaths paths = md::CurrentProgramPaths();
    EXPECT_EQ(md::HostProgramFolder(), home.path() + "/");
    EXPECT_EQ(paths.settingsFolder, home.path() + "/");
    // No settings file anywhere: the path names the program folder's.
    EXPECT_EQ(md::settingsFilePath("colorConfig.ini"), home.filePath("colorConfig.ini"));
    home.writeFile("colorConfig.ini", "[fcolor]\n");
    EXPECT_EQ(md::settingsFilePath("colorConfig.ini"), home.filePath("colorConfig.ini"));
}

}  // namespace
