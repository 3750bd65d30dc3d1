// Every seed of the fuzz corpus through its parser once, at every test run.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace gantrel::testing {

bool KeepsItsRules(const std::string& input);  // fuzz/parsers_fuzz.cpp

namespace {

TEST(FuzzCorpus, EverySeedKeepsItsParsersRules) {
  for (const auto& seed : std::filesystem::directory_iterator(GANTREL_CORPUS)) {
    std::ifstream in(seed.path(), std::ios::binary);
    EXPECT_TRUE(KeepsItsRules({std::istreambuf_iterator<char>(in), {}})) << seed.path();
  }
}

}  // namespace
}  // namespace gantrel::testing
