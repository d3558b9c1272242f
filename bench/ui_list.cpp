// The mailbox list at its largest: 32,767 records of one user, under the
// offscreen platform. Each figure is read against one read() of the same index.
#include "DemoBoard.h"
#include "MailBase.h"
#include "Records.h"
#include "app/Session.h"
#include "mailbox/frmMain.h"

#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QTreeView>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <malloc.h>
#include <memory>
#include <random>
#include <unistd.h>

namespace {

constexpr int kRecords = 32767;

struct BigBoard {
    std::string dir;
    kesto::Board board;
    std::string indexPath;

    BigBoard() {
        char tmpl[] = "/tmp/kesto-bench-XXXXXX";
        dir = mkdtemp(tmpl);
        board = kesto::demo::CreateBoard(dir).value();
        kesto::demo::AppendUser(board, kesto::demo::MakeUser("Sysop", "System Operator", 255)).value();
        std::mt19937 rng(7);
        std::string all;
        all.reserve(static_cast<std::size_t>(kRecords) * kesto::kMessageInfoSize);
        for (int i = 1; i <= kRecords; ++i) {
            const std::string subject = "Subject " + std::to_string(rng() % 100000);
            kesto::MessageInfo m =
                kesto::demo::MakeMessage(2, 1, "Bob", "Sysop", subject, 1'000'000'000 + i * 60);
            m.MsgLength = static_cast<std::int32_t>(rng() % 20000);
            m.Offline = static_cast<std::int32_t>(i % 2);
            all += kesto::EncodeMessageInfo(m);
        }
        indexPath = dir + "/MAIL/EMAIL.DAT";
        std::ofstream(indexPath, std::ios::binary)
            .write(all.data(), static_cast<std::streamsize>(all.size()));
    }
    ~BigBoard() {
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
};

BigBoard& Board() {
    static BigBoard b;
    return b;
}

struct Window {
    kesto::ui::Session session;
    std::unique_ptr<kesto::ui::frmMain> win;
    Window() {
        session.board = Board().board;
        win = std::make_unique<kesto::ui::frmMain>(session);
        win->Form_Load();
        QApplication::processEvents();
    }
    void Repaint() { win->findChild<QTreeView*>(QStringLiteral("ListView1"))->viewport()->repaint(); }
};

// The yardstick: one open-read-close of the whole index.
void BM_ReadIndex(benchmark::State& state) {
    const std::string& path = Board().indexPath;
    std::string buf(std::filesystem::file_size(path), '\0');
    for (auto _ : state) {
        const int fd = ::open(path.c_str(), O_RDONLY);
        benchmark::DoNotOptimize(::read(fd, buf.data(), buf.size()));
        ::close(fd);
    }
}
BENCHMARK(BM_ReadIndex)->Unit(benchmark::kMillisecond);

void BM_RefreshList(benchmark::State& state) {
    Window w;
    for (auto _ : state) w.win->RefreshList();
    state.counters["rows"] = w.win->GetRowCount();
}
BENCHMARK(BM_RefreshList)->Unit(benchmark::kMillisecond);

void BM_SortNumeric(benchmark::State& state) {
    Window w;
    for (auto _ : state) {
        w.win->ListView1_ColumnClick(6); // "Size"
        w.Repaint();
    }
}
BENCHMARK(BM_SortNumeric)->Unit(benchmark::kMillisecond);

void BM_SortText(benchmark::State& state) {
    Window w;
    for (auto _ : state) {
        w.win->ListView1_ColumnClick(4); // "Subject"
        w.Repaint();
    }
}
BENCHMARK(BM_SortText)->Unit(benchmark::kMillisecond);

void BM_RefreshAllItems(benchmark::State& state) {
    Window w;
    for (auto _ : state) {
        w.win->RefreshAllItems();
        w.Repaint();
    }
}
BENCHMARK(BM_RefreshAllItems)->Unit(benchmark::kMillisecond);

// A keystroke in the filter box with header words only, which filter at once: the
// rows are matched, shown and painted before the next key.
void BM_FilterKeystroke(benchmark::State& state) {
    Window w;
    auto* box = w.win->findChild<QLineEdit*>(QStringLiteral("txtFilter"));
    bool longer = false;
    for (auto _ : state) {
        box->setText(longer ? QStringLiteral("subject:12 is:unread") : QStringLiteral("subject:1 is:unread"));
        longer = !longer;
        w.Repaint();
    }
    state.counters["rows"] = w.win->GetRowCount();
}
BENCHMARK(BM_FilterKeystroke)->Unit(benchmark::kMillisecond);

// Heap held by a full list: the same window over an empty mailbox, then over the full one.
void BM_ListHeap(benchmark::State& state) {
    Window w;
    double mb = 0;
    for (auto _ : state) {
        w.session.CurrentMailbox = kesto::Mailbox::Sent; // no SNTEMAIL.DAT: an empty list
        w.win->RefreshList();
        malloc_trim(0);
        const std::size_t before = mallinfo2().uordblks;
        w.session.CurrentMailbox = kesto::Mailbox::Received;
        w.win->RefreshList();
        w.Repaint();
        const std::size_t after = mallinfo2().uordblks;
        mb = static_cast<double>(after - before) / (1024.0 * 1024.0);
    }
    state.counters["heap_MB"] = mb;
}
BENCHMARK(BM_ListHeap)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

// A benchmark program: an exception here ends the run, which is what it should do.
int main(int argc, char** argv) { // NOLINT(bugprone-exception-escape)
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    Board();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
