// The report through a real print system: a private CUPS scheduler with one
// cups-pdf printer on A4 paper.
#include <gtest/gtest.h>
#include <pwd.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "print/report_fixture.h"
#include "print/report_printer.h"
#include "print/scripted_print_host.h"

extern char** environ;

namespace lumen {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

const fs::path kCupsd = "/usr/sbin/cupsd";
const fs::path kCupsPdfBackend = "/usr/lib/cups/backend/cups-pdf";
const fs::path kCupsPdfDriver = "/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd";
const fs::path kCupsPdfConfig = "/etc/cups/cups-pdf.conf";

// Where cups-pdf puts the jobs of the current user ("Out" of its
// configuration, ${HOME}/PDF unless changed).
fs::path cupsPdfOutputFolder()
{
    const passwd* user = ::getpwuid(::getuid());
    const std::string home = user != nullptr ? user->pw_dir : "/root";
    std::string folder = "${HOME}/PDF";
    std::ifstream config(kCupsPdfConfig);
    for (std::string line; std::getline(config, line);) {
        if (line.rfind("Out ", 0) == 0) {
            folder = line.substr(4);
        }
    }
    if (const size_t at = folder.find("${HOME}"); at != std::string::npos) {
        folder.replace(at, 7, home);
    }
    return folder;
}

class PrivateScheduler {
public:
    explicit PrivateScheduler(const fs::path& root) : root_(root)
    {
        fs::create_directories(root / "conf" / "ppd");
        for (const char* folder : {"spool", "cache", "state", "log"}) {
            fs::create_directories(root / folder);
        }
        fs::permissions(root, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                  fs::perms::others_read | fs::perms::others_exec);
        fs::copy_file(kCupsPdfDriver, root / "conf" / "ppd" / "LumenA4.ppd");
        socket_ = root / "cups.sock";
        std::ofstream(root / "conf" / "cupsd.conf") << "Listen " << socket_.string() << "\n"
            << "LogLevel warn\nWebInterface No\nBrowsing Off\nDefaultAuthType None\n"
            << "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n";
        std::ofstream files(root / "conf" / "cups-files.conf");
        files << "ServerRoot " << (root / "conf").string() << "\nRequestRoot " << (root / "spool").string()
              << "\nTempDir " << (root / "spool").string() << "\nCacheDir " << (root / "cache").string()
              << "\nStateDir " << (root / "state").string() << "\nErrorLog " << (root / "log/error_log").string()
              << "\nAccessLog " << (root / "log/access_log").string() << "\nPageLog "
              << (root / "log/page_log").string() << "\nServerBin /usr/lib/cups\nDataDir /usr/share/cups\n";
        if (::getuid() == 0) {
            files << "User lp\nGroup lp\nSystemGroup lpadmin\n";
        }
        files.close();
        std::ofstream(root / "conf" / "printers.conf")
            << "<DefaultPrinter LumenA4>\nInfo Lumen A4 printer\nDeviceURI cups-pdf:/\nState Idle\n"
            << "Accepting Yes\nShared No\n</DefaultPrinter>\n";
    }
    ~PrivateScheduler()
    {
        if (previousServer_) {
            ::setenv("CUPS_SERVER", previousServer_->c_str(), 1);
        } else {
            ::unsetenv("CUPS_SERVER");
        }
        if (pid_ > 0) {
            ::kill(pid_, SIGTERM);
            ::waitpid(pid_, nullptr, 0);
        }
    }

    // Starts cupsd in the foreground; true once its socket answers.
    bool start()
    {
        const std::string conf = (root_ / "conf" / "cupsd.conf").string();
        const std::string files = (root_ / "conf" / "cups-files.conf").string();
        const char* argv[] = {kCupsd.c_str(), "-f", "-c", conf.c_str(), "-s", files.c_str(), nullptr};
        if (::posix_spawn(&pid_, kCupsd.c_str(), nullptr, nullptr, const_cast<char**>(argv), environ) != 0) {
            pid_ = 0;
            return false;
        }
        for (int i = 0; i < 100 && !fs::exists(socket_); ++i) {
            std::this_thread::sleep_for(50ms);
        }
        if (const char* server = std::getenv("CUPS_SERVER"); server != nullptr) {
            previousServer_ = server;
        }
        ::setenv("CUPS_SERVER", socket_.c_str(), 1);
        return fs::exists(socket_) && ::waitpid(pid_, nullptr, WNOHANG) == 0;
    }

private:
    fs::path root_;
    fs::path socket_;
    pid_t pid_ = 0;
    std::optional<std::string> previousServer_;
};

fs::path newestReport(const fs::path& folder, fs::file_time_type since)
{
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("Holter_ECG_report", 0) == 0 && entry.last_write_time(error) >= since) {
            return entry.path();
        }
    }
    return {};
}

// The distance of the strip's 10 mm grid lines on the printed page, in mm:
// the page rendered at 600 dpi across a band of the strip, the thin lines
// that run through the whole band (not the box edge with its shadow),
// first to last. 0 when it cannot be measured.
double gridPitchMm(const fs::path& pdf)
{
    constexpr double dotsPerMm = 600 / 25.4;
    const int top = static_cast<int>(200 * dotsPerMm);
    const int height = static_cast<int>(40 * dotsPerMm);
    const fs::path band = fs::path(pdf).replace_extension();
    testing::commandOutput("pdftoppm -r 600 -gray -singlefile -y " + std::to_string(top) + " -H " +
                           std::to_string(height) + " -W 6000 '" + pdf.string() + "' '" + band.string() + "'");
    std::ifstream in(band.string() + ".pgm", std::ios::binary);
    std::string magic;
    int width = 0;
    int rows = 0;
    int maximum = 0;
    in >> magic >> width >> rows >> maximum;
    in.get();
    std::vector<unsigned char> pixels(static_cast<size_t>(width) * rows);
    if (magic != "P5" || !in.read(reinterpret_cast<char*>(pixels.data()), static_cast<std::streamsize>(pixels.size()))) {
        return 0;
    }
    std::vector<double> centres;
    for (int x = 0; x < width;) {
        int run = 0;
        while (x + run < width) {
            int dark = 0;
            for (int y = 0; y < rows; ++y) dark += pixels[static_cast<size_t>(y) * width + x + run] < 128 ? 1 : 0;
            if (dark < rows * 9 / 10) break;
            ++run;
        }
        if (run > 0 && run <= 0.3 * dotsPerMm) centres.push_back(x + (run - 1) / 2.0);
        x += run + 1;
    }
    fs::remove(band.string() + ".pgm");
    if (centres.size() < 10) return 0;
    return (centres.back() - centres.front()) / static_cast<double>(centres.size() - 1) / dotsPerMm;
}

// A report arrives as one A4 page whose 10 mm grid is printed true to scale.
TEST(PrintReportThroughCups, OneA4PageWithTheGridToScale)
{
    if (!fs::exists(kCupsd) || !fs::exists(kCupsPdfBackend) || !fs::exists(kCupsPdfDriver)) {
        GTEST_SKIP() << "cupsd or cups-pdf is not installed";
    }
    testing::ReportFixture fixture;
    PrivateScheduler scheduler(fs::path(fixture.home) / "cups");
    if (!scheduler.start() || PrinterList::fromSystem().empty()) {
        GTEST_SKIP() << "cupsd did not start";
    }
    const fs::path output = cupsPdfOutputFolder();
    const auto since = fs::file_time_type::clock::now() - 2s;
    testing::ScriptedPrintHost host(true);
    const ReportFacts facts = fixture.facts("Ventricular run");
    ASSERT_EQ(printReport(host, PrinterList::fromSystem(), fixture.request, fixture.sources(facts)),
              PrintResult::PrintedOrDeclined);
    EXPECT_TRUE(host.causes.empty()) << host.causes.front();
    // cups-pdf creates the file first and writes it when the job has run.
    fs::path page;
    std::string info;
    for (int i = 0; i < 300 && info.find("Pages:") == std::string::npos; ++i) {
        std::this_thread::sleep_for(100ms);
        page = page.empty() ? newestReport(output, since) : page;
        info = page.empty() ? "" : testing::commandOutput("pdfinfo '" + page.string() + "' 2>&1");
    }
    ASSERT_FALSE(page.empty()) << "no report in " << output;
    EXPECT_NE(info.find("Pages:           1"), std::string::npos) << info;
    EXPECT_NE(info.find("(A4)"), std::string::npos) << info;
    EXPECT_NEAR(gridPitchMm(page), 10.0, 0.05) << "the 10 mm grid is not to scale";
    fs::remove(page);
}

}  // namespace
}  // namespace lumen
