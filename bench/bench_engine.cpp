// One phone test's worth of computation (phone text -> fortune number ->
// verdict -> meaning) over all 10,000 four-digit tails.
#include "engine/fortunenumber.h"
#include "engine/mod_date.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::vector<std::string> phoneTexts()
{
    std::vector<std::string> texts;
    texts.reserve(10'000);
    char buffer[16];
    for (int n = 0; n < 10'000; ++n) {
        std::snprintf(buffer, sizeof buffer, "1391234%04d", n);
        texts.emplace_back(buffer);
    }
    return texts;
}

void BM_PhoneTest(benchmark::State &state)
{
    const std::vector<std::string> texts = phoneTexts();
    for (auto _ : state) {
        for (const std::string &text : texts) {
            const double number = Mod_date::FortuneNumber(text).value_or(0.0);
            benchmark::DoNotOptimize(Mod_date::FortuneVerdict(number));
            benchmark::DoNotOptimize(Mod_date::FortuneText(number));
        }
    }
    // Reported as time per phone text.
    state.SetItemsProcessed(state.iterations() * std::int64_t(texts.size()));
    state.counters["ns_per_text"]
        = benchmark::Counter(double(state.iterations()) * double(texts.size()),
            benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

} // namespace

// Registered here rather than by the BENCHMARK macro, whose registration is a
// global object with a constructor.
int main(int argc, char **argv)
{
    benchmark::RegisterBenchmark("BM_PhoneTest", BM_PhoneTest)->Unit(benchmark::kMicrosecond);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
