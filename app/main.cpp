// The harvester's entry point.
#include <cstdio>

int main() {
  std::printf(
      "拼多多长尾词采集助手\n"
      "The window is not part of this build yet. Built so far: the harvest worker, the\n"
      "suggestion query and reply parsing, the pattern object and the hidden texts; run\n"
      "./test.sh to exercise them.\n");
  return 0;
}
