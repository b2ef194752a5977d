#include "corpus.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace quorvex::test {

QString CorpusDir() { return QStringLiteral(QUORVEX_CORPUS_DIR); }

bool CorpusPresent() { return QDir(CorpusDir() + QStringLiteral("/expected")).exists(); }

std::vector<CorpusTable> CorpusTables() {
    std::vector<CorpusTable> tables;
    const QDir expected(CorpusDir() + QStringLiteral("/expected"));
    for (const QString& folder :
         expected.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        const QDir sub(expected.filePath(folder));
        for (const QString& json :
             sub.entryList({QStringLiteral("*.json")}, QDir::Files, QDir::Name)) {
            const QString tableName = json.chopped(5);
            tables.push_back(CorpusTable{CorpusDir() + "/" + folder + "/" + tableName,
                                         sub.filePath(json),
                                         (folder + "/" + tableName).toStdString()});
        }
    }
    return tables;
}

QJsonObject LoadJson(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        throw std::runtime_error("cannot open " + path.toStdString());
    }
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &error);
    if (error.error != QJsonParseError::NoError) {
        throw std::runtime_error("bad JSON in " + path.toStdString() + ": " +
                                 error.errorString().toStdString());
    }
    return document.object();
}

std::string CorpusFile(const char* relative) {
    return (CorpusDir() + QLatin1Char('/') + QString::fromUtf8(relative)).toStdString();
}

std::vector<std::uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot read " + path);
    }
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + path);
    }
}

}  // namespace quorvex::test
