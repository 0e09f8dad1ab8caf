#include "core/entry_filter.h"
#include "core/history.h"
#include "platform/text_folding.h"
#include "storage/history_file.h"
#include "ui/text_display.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <random>
#include <unistd.h>

namespace kobako {
namespace {

std::string textOf(size_t index, size_t size) {
    std::string text = "entry " + std::to_string(index) + " ";
    text.resize(std::max(size, text.size()), 'x');
    return text;
}

void fillList(History &history, size_t count, size_t size) {
    for (size_t i = 0; i < count; ++i)
        history.capture(textOf(i, size), ClipboardOrigin::Elsewhere);
}

void BM_CaptureIntoList(benchmark::State &state) {
    const auto count = static_cast<size_t>(state.range(0));
    Settings settings;
    settings.setListMaxText(std::to_string(count));
    History history(settings);
    fillList(history, count, 100);
    size_t next = count;
    for (auto _ : state)
        benchmark::DoNotOptimize(history.capture(textOf(next++, 100), ClipboardOrigin::Elsewhere));
}
BENCHMARK(BM_CaptureIntoList)->Arg(50)->Arg(1000)->Arg(10000);

class HistoryFileBench : public benchmark::Fixture {
  public:
    void SetUp(const benchmark::State &state) override {
        directory_ =
            std::filesystem::temp_directory_path() / ("kobako-bench-" + std::to_string(getpid()));
        std::filesystem::create_directories(directory_);
        previous_ = std::filesystem::current_path();
        std::filesystem::current_path(directory_);
        settings_.setListMaxText("32767");
        history_ = std::make_unique<History>(settings_);
        std::vector<std::string> records;
        for (int64_t i = 0; i < state.range(0); ++i)
            records.push_back(textOf(static_cast<size_t>(i), state.range(1)));
        history_->load(std::move(records));
    }
    void TearDown(const benchmark::State &) override {
        std::filesystem::current_path(previous_);
        std::filesystem::remove_all(directory_);
    }

  protected:
    std::filesystem::path directory_, previous_;
    Settings settings_;
    std::unique_ptr<History> history_;
    storage::HistoryFile file_{storage::FileNames{".", "kobako"}};
};

BENCHMARK_DEFINE_F(HistoryFileBench, Save)(benchmark::State &state) {
    for (auto _ : state)
        if (!file_.save(history_->textsToSave()).written())
            state.SkipWithError("the history file could not be written");
}
BENCHMARK_REGISTER_F(HistoryFileBench, Save)
    ->Args({10000, 1024})
    ->Args({100, 1 << 20})
    ->Unit(benchmark::kMillisecond);

BENCHMARK_DEFINE_F(HistoryFileBench, Load)(benchmark::State &state) {
    file_.save(history_->textsToSave());
    for (auto _ : state) {
        History loaded(settings_);
        loaded.load(file_.read().records);
        benchmark::DoNotOptimize(loaded.list().size());
    }
}
BENCHMARK_REGISTER_F(HistoryFileBench, Load)
    ->Args({10000, 1024})
    ->Args({100, 1 << 20})
    ->Unit(benchmark::kMillisecond);

// What showing a 10 MB copy costs beyond storing it: its one list row.
void BM_ListRowOfTenMegabytes(benchmark::State &state) {
    const std::string text = textOf(0, 10 << 20);
    for (auto _ : state)
        benchmark::DoNotOptimize(ui::listRowText(text));
}
BENCHMARK(BM_ListRowOfTenMegabytes);

// Entries of about 1 KB, Japanese and ASCII mixed; one in ten holds full-width letters, which
// are folded.
std::vector<ListEntry> mixedEntries(size_t count) {
    const std::string words[] = {"クリップボード", "履歴",     "kobako",  "設定",
                                 "git status",     "テキスト", "window",  "貼り付け",
                                 "Hello",          "小箱",     "ＦＵＬＬ"};
    std::vector<ListEntry> entries;
    std::minstd_rand random(7);
    for (size_t i = 0; i < count; ++i) {
        std::string text = "entry " + std::to_string(i) + " ";
        while (text.size() < 1000)
            text += words[random() % (i % 10 == 0 ? 11 : 10)] + " ";
        entries.push_back({std::move(text)});
    }
    return entries;
}

const std::string kTyped = "kobako 設定 hello";

// Each keystroke of a filter typed from the start, over a history never filtered: the first
// folds what must be folded. Reported per keystroke: the median and the worst.
void BM_FilterWhileTyping(benchmark::State &state) {
    const auto entries = mixedEntries(static_cast<size_t>(state.range(0)));
    std::vector<double> keystrokes;
    for (auto _ : state) {
        EntryFilter filter(platform::foldCaseAndWidth);
        size_t typed = 0;
        while (typed < kTyped.size()) {
            // One character at a time, as keystrokes come; a multi-byte one whole.
            do
                ++typed;
            while (typed < kTyped.size() &&
                   (static_cast<unsigned char>(kTyped[typed]) & 0xC0) == 0x80);
            const auto start = std::chrono::steady_clock::now();
            benchmark::DoNotOptimize(
                filter.find(std::string_view(kTyped).substr(0, typed), entries, 0));
            keystrokes.push_back(
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                    .count());
        }
    }
    std::ranges::sort(keystrokes);
    state.counters["median_ms"] = keystrokes[keystrokes.size() / 2];
    state.counters["worst_ms"] = keystrokes.back();
}
BENCHMARK(BM_FilterWhileTyping)->Arg(10000)->Arg(32767)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace kobako

BENCHMARK_MAIN();
