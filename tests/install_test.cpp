#include <gtest/gtest.h>

#include <QImage>
#include <QMimeDatabase>
#include <filesystem>
#include <fstream>
#include <set>
#include <unistd.h>

#include "tests/support/run_program.h"

// The game as `cmake --install` left it in BURROWKIN_INSTALLED, and as `cpack`
// packed it in BURROWKIN_PACKAGE_DIR (the fixtures that make them run first).
namespace {

namespace fs = std::filesystem;

const fs::path Prefix = BURROWKIN_INSTALLED;
const std::string AppId = "io.github.burrowkin.KorvaneBurrowkin";
const fs::path Desktop = Prefix / "share/applications" / (AppId + ".desktop");
const fs::path Metainfo = Prefix / "share/metainfo" / (AppId + ".metainfo.xml");

std::string Read(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::set<std::string> FileNames(const fs::path& folder)
{
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename().string());
    return names;
}

fs::path TempFolder(const std::string& name)
{
    const fs::path dir = fs::temp_directory_path() / ("burrowkin-" + name + "-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

// Without the build's data folder in the environment, as a player runs it.
ProgramRun RunInstalled(const std::string& commandLine) { return RunProgram("env -u BURROWKIN_DATA_DIR " + commandLine); }

TEST(Install, EveryDataFileOfTheBuildIsInstalledAsItIs)
{
    const fs::path data = Prefix / "share/burrowkin";
    ASSERT_EQ(FileNames(data), FileNames(BURROWKIN_BUILD_DATA)) << "install rules and the data the build copies differ";
    for (const std::string& name : FileNames(data))
        EXPECT_EQ(Read(data / name), Read(fs::path(BURROWKIN_BUILD_DATA) / name)) << name;
    for (const char* program : {"burrowkin", "burrowkin-sim"})
        EXPECT_EQ(::access((Prefix / "bin" / program).c_str(), X_OK), 0) << program;
}

TEST(Install, TheInstalledSimulatorFindsItsDataFromAnyFolder)
{
    const std::string sim = (Prefix / "bin/burrowkin-sim").string();
    const ProgramRun cave = RunInstalled(sim + " generate");
    EXPECT_EQ(cave.status, 0) << cave.err;
    EXPECT_NE(cave.out.find("\"ok\":true"), std::string::npos) << cave.out;
    EXPECT_NE(cave.out.find("\"goal\":[1072,1984]"), std::string::npos) << cave.out;

    // A picture needs the installed pictures; through a link from elsewhere too.
    const fs::path elsewhere = TempFolder("elsewhere");
    fs::create_symlink(sim, elsewhere / "burrowkin-sim");
    for (const std::string& program : {sim, (elsewhere / "burrowkin-sim").string()}) {
        const fs::path png = elsewhere / "cave.png";
        const ProgramRun r = RunInstalled(program + " generate --png-scale 1 --png " + png.string());
        EXPECT_EQ(r.status, 0) << program << ": " << r.err;
        EXPECT_EQ(QImage(QString::fromStdString(png.string())).width(), 256) << program;
        fs::remove(png);
    }

    // A copy of the program without the data beside it says where it looked.
    fs::create_directories(elsewhere / "bin");
    fs::copy_file(sim, elsewhere / "bin/burrowkin-sim");
    const ProgramRun lost = RunInstalled((elsewhere / "bin/burrowkin-sim").string() + " generate --png x.png");
    EXPECT_EQ(lost.status, 2);
    EXPECT_NE(lost.err.find((elsewhere / "share/burrowkin").string()), std::string::npos) << lost.err;
    fs::remove_all(elsewhere);
}

TEST(Install, TheDesktopEntryAndTheMetainfoPassTheirValidators)
{
    const ProgramRun entry = RunProgram("desktop-file-validate " + Desktop.string());
    EXPECT_EQ(entry.status, 0) << entry.out << entry.err;
    EXPECT_EQ(entry.out + entry.err, "");

    const ProgramRun metainfo = RunProgram("appstreamcli validate --no-net " + Metainfo.string());
    EXPECT_EQ(metainfo.status, 0) << metainfo.out << metainfo.err;
    // The tree as a software centre reads it: the metainfo's launchable is there.
    const ProgramRun tree = RunProgram("appstreamcli validate-tree --no-net " + Prefix.string());
    EXPECT_EQ(tree.status, 0) << tree.out << tree.err;
}

TEST(Install, TheEntryStartsTheInstalledGameAndTheMetainfoKnowsThisVersion)
{
    const std::string entry = Read(Desktop);
    EXPECT_NE(entry.find("\nExec=burrowkin %f\n"), std::string::npos) << entry;
    EXPECT_NE(entry.find("\nMimeType=application/x-burrowkin-run;\n"), std::string::npos) << entry;
    EXPECT_NE(entry.find("\nIcon=" + AppId + "\n"), std::string::npos) << entry;
    EXPECT_NE(Read(Metainfo).find("<release version=\"" BURROWKIN_VERSION "\""), std::string::npos)
        << "the metainfo's releases lack this version, " BURROWKIN_VERSION;
}

TEST(Install, TheIconComesInItsHicolorSizesWithSharpPixels)
{
    const QImage drawn(QString(BURROWKIN_BUILD_DATA) + "/icon.png");
    ASSERT_EQ(drawn.size(), QSize(32, 32));
    for (int size : {32, 64, 128, 256}) {
        const fs::path file = Prefix / "share/icons/hicolor" / (std::to_string(size) + "x" + std::to_string(size)) / "apps" /
                              (AppId + ".png");
        const QImage icon(QString::fromStdString(file.string()));
        ASSERT_EQ(icon.size(), QSize(size, size)) << file;
        const int k = size / 32;
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x)
                ASSERT_EQ(icon.pixel(x, y), drawn.pixel(x / k, y / k)) << size << ": " << x << "," << y;
    }
}

TEST(Install, RunFilesAreAFileTypeOfTheirOwnByNameAndBySignature)
{
    const fs::path share = TempFolder("mime");
    fs::create_directories(share / "mime/packages");
    fs::copy_file(Prefix / "share/mime/packages" / (AppId + ".xml"), share / "mime/packages" / (AppId + ".xml"));
    const ProgramRun update = RunProgram("XDG_DATA_DIRS=" + share.string() + " update-mime-database " + (share / "mime").string());
    ASSERT_EQ(update.status, 0) << update.err;
    EXPECT_EQ(update.out + update.err, "");

    auto write = [&](const std::string& name, std::size_t signatureAt) {
        std::string bytes(131074, '\0');
        bytes.replace(signatureAt, 4, "BKRN");
        std::ofstream(share / name, std::ios::binary) << bytes;
        return QString::fromStdString((share / name).string());
    };
    qputenv("XDG_DATA_DIRS", QByteArray::fromStdString(share.string()));
    const QMimeDatabase types;
    EXPECT_EQ(types.mimeTypeForFile(write("sent.dat", 8)).name(), "application/x-burrowkin-run");
    EXPECT_EQ(types.mimeTypeForFile(write("kept.burrowkin-run", 0)).name(), "application/x-burrowkin-run");
    EXPECT_NE(types.mimeTypeForFile(write("other.dat", 0)).name(), "application/x-burrowkin-run");
    fs::remove_all(share);
}

TEST(Install, TheManualPagesAreInstalled)
{
    for (const char* page : {"burrowkin.6.gz", "burrowkin-sim.6.gz"}) {
        const ProgramRun text = RunProgram("MANWIDTH=80 man -l " + (Prefix / "share/man/man6" / page).string());
        EXPECT_EQ(text.status, 0) << page << ": " << text.err;
        EXPECT_NE(text.out.find("EXIT STATUS"), std::string::npos) << page;
    }
}

// The package that the fixture made with cpack.
const fs::path Deb = fs::path(BURROWKIN_PACKAGE_DIR) / ("korvane-burrowkin_" BURROWKIN_VERSION "_amd64.deb");

TEST(Package, LintianFindsNoErrorOrWarning)
{
    ASSERT_TRUE(fs::exists(Deb));
    const ProgramRun lintian = RunProgram("lintian --fail-on error,warning " + Deb.string());
    EXPECT_EQ(lintian.status, 0) << lintian.out << lintian.err;
    EXPECT_EQ(lintian.out, "");
}

TEST(Package, TheProgramsInDebiansPlaceForGamesFindTheirData)
{
    const fs::path root = TempFolder("unpacked");
    ASSERT_EQ(RunProgram("dpkg-deb -x " + Deb.string() + " " + root.string()).status, 0);
    const fs::path png = root / "cave.png";
    const ProgramRun sim = RunInstalled((root / "usr/games/burrowkin-sim").string() + " generate --png-scale 1 --png " + png.string());
    EXPECT_EQ(sim.status, 0) << sim.err;
    EXPECT_EQ(QImage(QString::fromStdString(png.string())).width(), 256);
    const ProgramRun help = RunInstalled((root / "usr/games/burrowkin").string() + " --help");
    EXPECT_NE(help.out.find((root / "usr/share/games/burrowkin").string() + "\n"), std::string::npos) << help.out;
    fs::remove_all(root);
}

TEST(Package, TheDebianPackageHoldsTheGameAndNamesWhatItNeeds)
{
    const fs::path deb = Deb;
    ASSERT_TRUE(fs::exists(deb));

    const std::string depends = RunProgram("dpkg-deb -f " + deb.string() + " Depends").out;
    for (const char* package : {"libqt6widgets6", "libsdl2-2.0-0", "libc6", "qt6-qpa-plugins", "fonts-ipafont-gothic"})
        EXPECT_NE(depends.find(package), std::string::npos) << package << " missing from " << depends;
    EXPECT_EQ(RunProgram("dpkg-deb -f " + deb.string() + " Version").out, BURROWKIN_VERSION "\n");

    const std::string files = RunProgram("dpkg-deb -c " + deb.string()).out;
    std::vector<std::string> expected = {"./usr/games/burrowkin", "./usr/games/burrowkin-sim", "./usr/share/applications/" + AppId + ".desktop",
                                         "./usr/share/metainfo/" + AppId + ".metainfo.xml",
                                         "./usr/share/icons/hicolor/256x256/apps/" + AppId + ".png",
                                         "./usr/share/mime/packages/" + AppId + ".xml",
                                         "./usr/share/man/man6/burrowkin.6.gz", "./usr/share/man/man6/burrowkin-sim.6.gz",
                                         "./usr/share/doc/korvane-burrowkin/copyright",
                                         "./usr/share/doc/korvane-burrowkin/changelog.gz"};
    for (const std::string& name : FileNames(BURROWKIN_BUILD_DATA)) expected.push_back("./usr/share/games/burrowkin/" + name);
    for (const std::string& path : expected) EXPECT_NE(files.find(" " + path + "\n"), std::string::npos) << path;
    EXPECT_EQ(files.find("./usr/bin/"), std::string::npos) << files;
    // The changelog's newest entry is this version's.
    EXPECT_EQ(RunProgram("dpkg-deb --fsys-tarfile " + deb.string() +
                         " | tar -xOf - ./usr/share/doc/korvane-burrowkin/changelog.gz | gzip -dc | head -1")
                  .out,
              "korvane-burrowkin (" BURROWKIN_VERSION ") unstable; urgency=medium\n");
}

TEST(Package, TheBoardIsAServiceOfItsOwnInBothLayouts)
{
    const std::string unit = Read(Prefix / "lib/systemd/system/burrowkin-board.service");
    EXPECT_NE(unit.find("\nExecStart=" + (fs::absolute(Prefix) / "bin/burrowkin-board").string() + " "), std::string::npos) << unit;
    EXPECT_NE(unit.find("\nDynamicUser=yes\n"), std::string::npos);
    EXPECT_NE(unit.find("\nStateDirectory=burrowkin-board\n"), std::string::npos);
    EXPECT_EQ(::access((Prefix / "bin/burrowkin-board").c_str(), X_OK), 0);

    const std::string files = RunProgram("dpkg-deb -c " + Deb.string()).out;
    for (const char* path : {"./usr/games/burrowkin-board", "./lib/systemd/system/burrowkin-board.service",
                             "./usr/share/man/man6/burrowkin-board.6.gz"})
        EXPECT_NE(files.find(std::string(" ") + path + "\n"), std::string::npos) << path;
    EXPECT_NE(RunProgram("dpkg-deb --fsys-tarfile " + Deb.string() + " | tar -xOf - ./lib/systemd/system/burrowkin-board.service").out
                  .find("\nExecStart=/usr/games/burrowkin-board "),
              std::string::npos);
}

}  // namespace
