#pragma once

#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <string>
#include <vector>

namespace quorvex::test {

// The real Paradox tables and their expected contents, kept in the repository (tests/corpus).
// A test that needs them fails, saying where it looked, when they are missing: a run that passes
// has read every one of them.
QString CorpusDir();
bool CorpusPresent();
#define QUORVEX_REQUIRE_CORPUS()                                                              \
    do {                                                                                      \
        if (!::quorvex::test::CorpusPresent()) {                                              \
            FAIL() << "The Paradox corpus is missing: no folder "                             \
                   << ::quorvex::test::CorpusDir().toStdString()                              \
                   << "/expected (it belongs in the repository, see tests/corpus/README.md)"; \
        }                                                                                     \
    } while (false)

// One corpus table and the file describing what it holds.
struct CorpusTable {
    QString table;      // absolute path of the .db file
    QString expected;   // absolute path of its .json file
    std::string label;  // "fields/long.db"
};
std::vector<CorpusTable> CorpusTables();

QJsonObject LoadJson(const QString& path);

// Absolute path of a corpus file given relative to the corpus folder ("db/CUSTOMER.DB").
std::string CorpusFile(const char* relative);

// Whole-file helpers for making damaged copies.
std::vector<std::uint8_t> ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);

}  // namespace quorvex::test
