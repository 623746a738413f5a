#pragma once
// A large synthetic catalog for benchmarks: articles, complects with their
// lines and sides, elements and article-condition rows in realistic shapes.
#include <filesystem>
#include <string>

namespace kvf::bench {

struct TSyntheticSize {
  int articles = 100000;
  int complects = 2000;
  int elements = 6000;
  int articleRows = 300000;  // FrnArt
  int linesPerComplect = 20;
};

// Writes DIR/kvfcatalog.sqlite (replacing one that exists).
void WriteSyntheticCatalog(const std::filesystem::path& dir, const TSyntheticSize& size = {});

// Element and article codes of the synthetic catalog.
std::string ElementCode(int i);
std::string ArticleCode(int i);
std::string ComplectCode(int i);

}  // namespace kvf::bench
