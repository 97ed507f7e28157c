// Opening 关卡一览 on a collection of 10,000 levels: the list, the best
// counts, the titles and statistics read, and the pictures in view drawn.
// Run with QT_QPA_PLATFORM=offscreen.
#include "session/dialogs.h"
#include "ui/dialogs/level_chooser.h"
#include "ui/main/main_form.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QListView>
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;

fs::path makeCollection(const fs::path& dir, int levels) {
    std::ofstream out(dir / "many.sok", std::ios::binary);
    for (int n = 1; n <= levels; ++n) {
        const int k = n % 25 + 1;
        const std::string wall(std::size_t(k) + 5, '#');
        out << wall << "\n#@" << std::string(std::size_t(k), ' ') << "$.#\n"
            << wall << "\nTitle: Corridor " << n << "\n\n";
    }
    return dir / "many.sok";
}

void BM_OpenChooser(benchmark::State& state) {
    const fs::path dir =
        fs::temp_directory_path() / ("sokoban-chooser-" + std::to_string(::getpid()));
    fs::create_directories(dir / "app");
    setenv("XDG_DATA_HOME", (dir / "xdg").c_str(), 1);
    const fs::path file = makeCollection(dir, static_cast<int>(state.range(0)));
    // Messages answered by script: nothing waits for a click.
    sokoban::ScriptedDialogs dialogs;
    sokoban::MainFormServices services;
    services.dialogs = &dialogs;
    sokoban::TMainForm form(
        dir / "app", QStringList{"sokoban", QString::fromStdString(file.string())}, services);
    form.FormCreate();
    form.show();
    int rows = 0;
    for (auto _ : state) {
        sokoban::LevelChooser chooser(form);
        chooser.showChooser();
        benchmark::DoNotOptimize(chooser.grab());
        rows = chooser.view()->model()->rowCount();
    }
    state.counters["levels"] = rows;
    form.close();
    fs::remove_all(dir);
}
BENCHMARK(BM_OpenChooser)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
