// The per-word cost of the harvest's bookkeeping as a seed gathers more and more words: the
// containment test of a suggestion and the seen set's insert and membership answer.
#include <benchmark/benchmark.h>

#include "app/containment.h"
#include "app/seed_text.h"
#include "app/seen_set.h"
#include "base/codepage.h"

namespace lw {
namespace {

std::string Word(size_t i) {
  return Utf8ToGbk("连衣裙") + " " + std::to_string(i);
}

void Fill(SeenSet& set, size_t n) {
  for (size_t i = 0; i < n; ++i)
    set.Insert(Word(i));
}

// Adding a word the set has not seen, at a size of range(0) words. The same thousand fresh
// words are added and taken out again (untimed), so the size stays near range(0).
void BM_SeenSetInsertNew(benchmark::State& state) {
  const size_t n = static_cast<size_t>(state.range(0));
  SeenSet set;
  Fill(set, n);
  std::vector<std::string> batch;
  for (size_t i = 0; i < 1000; ++i)
    batch.push_back(Word(n + i));
  size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(set.Insert(batch[i]));
    if (++i == batch.size()) {
      state.PauseTiming();
      for (const auto& w : batch)
        set.Remove(w);
      i = 0;
      state.ResumeTiming();
    }
  }
  state.SetLabel(std::to_string(n) + " words");
}
BENCHMARK(BM_SeenSetInsertNew)->RangeMultiplier(10)->Range(1000, 1000000);

// Offering a word the set already holds (the common case late in a seed).
void BM_SeenSetInsertSeen(benchmark::State& state) {
  const size_t n = static_cast<size_t>(state.range(0));
  SeenSet set;
  Fill(set, n);
  std::vector<std::string> probes;
  for (size_t i = 0; i < 1024; ++i)
    probes.push_back(Word((i * 7919) % n));
  size_t i = 0;
  for (auto _ : state)
    benchmark::DoNotOptimize(set.Insert(probes[i++ & 1023]));
  state.SetLabel(std::to_string(n) + " words");
}
BENCHMARK(BM_SeenSetInsertSeen)->RangeMultiplier(10)->Range(1000, 1000000);

// One suggestion through the whole acceptance: the containment test against a three-character
// seed, then the seen set, at a size of range(0) words.
void BM_AcceptSuggestion(benchmark::State& state) {
  const size_t n = static_cast<size_t>(state.range(0));
  SeenSet set;
  Fill(set, n);
  RegexObject tester;
  const auto characters = SplitIntoCharacters(Utf8ToGbk("连衣裙"));
  std::vector<std::string> batch;
  for (size_t i = 0; i < 1000; ++i)
    batch.push_back(Word(n + i));
  size_t i = 0;
  for (auto _ : state) {
    if (ContainsAllCharacters(tester, characters, batch[i])) set.Insert(batch[i]);
    if (++i == batch.size()) {
      state.PauseTiming();
      for (const auto& w : batch)
        set.Remove(w);
      i = 0;
      state.ResumeTiming();
    }
  }
  state.SetLabel(std::to_string(n) + " words");
}
BENCHMARK(BM_AcceptSuggestion)->RangeMultiplier(10)->Range(1000, 1000000);

// The containment test alone, for a suggestion that passes and one that fails early.
void BM_ContainmentTest(benchmark::State& state) {
  RegexObject tester;
  const auto characters = SplitIntoCharacters(Utf8ToGbk("连衣裙"));
  const std::string suggestion =
      state.range(0) ? Utf8ToGbk("夏季新款连衣裙女") : Utf8ToGbk("夏季新款半身裙女");
  for (auto _ : state)
    benchmark::DoNotOptimize(ContainsAllCharacters(tester, characters, suggestion));
  state.SetLabel(state.range(0) ? "passes" : "fails");
}
BENCHMARK(BM_ContainmentTest)->Arg(1)->Arg(0);

}  // namespace
}  // namespace lw
