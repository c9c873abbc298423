// Loading the demo project with every table it names, as the application does at start-up.
#include <memory>
#include <string>

#include <benchmark/benchmark.h>

#include "core/prompt.h"
#include "tables/project_file.h"
#include "tables/project_tables.h"

namespace {

const std::string kDemoDir = PELOR_SOURCE_DIR "/examples/demo/";

void BM_LoadDemoProject(benchmark::State& state) {
    auto tables = std::make_unique<pelor::tables::ProjectTables>();
    for (auto _ : state) {
        pelor::core::ScriptedPrompt prompt;
        pelor::tables::Project project;
        project.directory = kDemoDir;
        pelor::tables::LoadProject(prompt, project, kDemoDir, "Demo.cdp", false);
        pelor::tables::LoadStartupTables(prompt, project, *tables);
        if (!prompt.shown.empty()) state.SkipWithError(prompt.shown.front().text.c_str());
        benchmark::DoNotOptimize(tables->values.pageCount);
    }
}
BENCHMARK(BM_LoadDemoProject)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(10)
    ->ReportAggregatesOnly(true);

}  // namespace
