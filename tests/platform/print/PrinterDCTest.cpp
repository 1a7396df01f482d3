// The printer device context: its units, a disk that fills up while it writes, and a job sent
// to a print queue (the test run's own CUPS server, read back from its device's file).
#include "platform/print/PrintQueues.h"
#include "platform/print/PrinterDC.h"
#include "tests/FileSizeLimit.h"
#include "tests/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <sys/stat.h>
#include <unistd.h>

using namespace plat;
namespace fs = std::filesystem;

namespace {

// Draws pages of text; the number of pages that ended well.
int PrintPages(PrinterDC& dc, int pages)
{
    int printed = 0;
    for (int page = 0; page < pages; ++page) {
        if (dc.StartPage() <= 0)
            break;
        for (int line = 0; line < 60; ++line)
            dc.DrawText("行 " + std::to_string(page) + "-" + std::to_string(line) + " ｾﾙの印刷 0123456789",
                        RECT{0, -16 * line - 16, 700, -16 * line}, DT_LEFT);
        if (dc.EndPage() <= 0)
            break;
        ++printed;
    }
    return printed;
}

TEST(PrinterDCTest, HundredthsOfAnInchMapToDevicePixelsWithTheYAxisUp)
{
    PrinterDC printer;
    EXPECT_EQ(printer.GetMapMode(), MM_TEXT);
    POINT point{100, -250};
    printer.LPtoDP(&point);
    EXPECT_EQ(point, (POINT{100, -250})) << "device pixels while nothing else was asked";
    EXPECT_EQ(printer.SetMapMode(MM_LOENGLISH), MM_TEXT);
    printer.LPtoDP(&point);
    EXPECT_EQ(point, (POINT{600, 1500})) << "an inch is 600 pixels, and logical y grows upwards";
    POINT points[2] = {{printer.GetDeviceCaps(HORZRES), printer.GetDeviceCaps(VERTRES)}, {3, 3}};
    printer.DPtoLP(points, 2);
    EXPECT_EQ(points[0], (POINT{727, -1069})) << "A4 less half an inch each side";
    EXPECT_EQ(points[1], (POINT{1, -1})) << "rounded to the nearest unit";
    printer.SetMapMode(MM_LOMETRIC);
    point = POINT{254, 0};
    printer.LPtoDP(&point);
    EXPECT_EQ(point.x, 600);
}

TEST(PrinterDCTest, ADiskThatFillsUpGivesAReasonAndLeavesNothingUnderTheName)
{
    const tavtest::TemporaryFolder folder("tavcell-printer");
    const fs::path pdf = folder.Path() / "full.pdf";
    PrinterDC printer;
    printer.SetMapMode(MM_LOENGLISH);
    ASSERT_TRUE(printer.CreatePdfDC(pdf));
    ASSERT_GT(printer.StartDoc(DOCINFO{"full", {}}), 0);
    int ended = SP_ERROR;
    {
        const tavtest::FileSizeLimit fullDisk(8192);
        if (PrintPages(printer, 40) == 40)
            ended = printer.EndDoc();
    }
    EXPECT_EQ(ended, SP_ERROR);
    EXPECT_NE(printer.GetError().find("cannot write"), std::string::npos) << printer.GetError();
    EXPECT_TRUE(fs::is_empty(folder.Path())) << "neither the document nor its temporary file is left";

    SCOPED_TRACE("the same document with room to write");
    ASSERT_GT(printer.StartDoc(DOCINFO{"full", {}}), 0);
    EXPECT_EQ(PrintPages(printer, 40), 40);
    EXPECT_GT(printer.EndDoc(), 0) << printer.GetError();
    EXPECT_GT(fs::file_size(pdf), 8192u);

    SCOPED_TRACE("a new printed file takes the mode the person's umask gives new files");
    const fs::path shared = folder.Path() / "shared.pdf";
    const mode_t mask = ::umask(022);
    ASSERT_TRUE(printer.CreatePdfDC(shared));
    ASSERT_GT(printer.StartDoc(DOCINFO{"shared", {}}), 0);
    EXPECT_EQ(PrintPages(printer, 1), 1);
    EXPECT_GT(printer.EndDoc(), 0) << printer.GetError();
    ::umask(mask);
    struct stat written {};
    ASSERT_EQ(::stat(shared.c_str(), &written), 0);
    EXPECT_EQ(written.st_mode & 0777, 0644u) << "readable by others, as umask 022 makes new files";
}

TEST(PrinterDCTest, ADocumentNeverTakesThePlaceOfAFifo)
{
    const tavtest::TemporaryFolder folder("tavcell-printer");
    const fs::path fifo = folder.Path() / "out.pdf";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    PrinterDC printer;
    ASSERT_TRUE(printer.CreatePdfDC(fifo));
    EXPECT_EQ(printer.StartDoc(DOCINFO{"fifo", {}}), SP_ERROR);
    EXPECT_NE(printer.GetError().find("not a regular file"), std::string::npos) << printer.GetError();
    EXPECT_TRUE(fs::is_fifo(fifo));
}

TEST(PrinterDCTest, AJobGoesToAPrintQueue)
{
    // ./run test starts a print server of its own whose queue writes each job to a file: then
    // the job is read back, and the test may not skip.
    const char* testServer = std::getenv("TAVCELL_TEST_CUPS_SERVER");
    const char* testOutput = std::getenv("TAVCELL_TEST_PRINT_OUTPUT");
    const bool own = testServer != nullptr && testOutput != nullptr;
    if (own)
        ::setenv("CUPS_SERVER", testServer, 1);
    if (!own && !IsPrintServerRunning())
        GTEST_SKIP() << "no CUPS server runs on this machine";
    const std::vector<PrintQueue> queues = ListPrintQueues();
    if (!own && queues.empty())
        GTEST_SKIP() << "the CUPS server has no print queue";
    ASSERT_FALSE(queues.empty()) << "the test server's queue";
    if (own)
        fs::remove(testOutput);
    PrinterDC printer;
    printer.SetMapMode(MM_LOENGLISH);
    ASSERT_TRUE(printer.CreateQueueDC(queues.front().name));
    ASSERT_GT(printer.StartDoc(DOCINFO{"QUORTAL Win - ｾﾙの印刷", {}}), 0);
    EXPECT_EQ(PrintPages(printer, 2), 2);
    EXPECT_GT(printer.EndDoc(), 0) << printer.GetError();
    if (!own)
        return;
    for (int wait = 0; wait < 200 && !fs::exists(testOutput); ++wait)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    ASSERT_TRUE(fs::exists(testOutput)) << "the queue's device wrote nothing";
    const fs::path text = fs::path(testOutput).replace_extension(".txt");
    ASSERT_EQ(std::system(("pdftotext -enc UTF-8 '" + std::string(testOutput) + "' '" + text.string() + "'").c_str()), 0);
    std::ifstream in(text);
    const std::string printed((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(printed.find("行 0-0 ｾﾙの印刷"), std::string::npos) << printed.substr(0, 200);
    EXPECT_NE(printed.find("行 1-59 ｾﾙの印刷"), std::string::npos) << "the second page came through the queue";
}

} // namespace
