#include "data/paradox/error.h"
#include "data/paradox/table_impl.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace quorvex::paradox {

namespace {

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// The .MB file beside a table, its name matched ignoring case; the exact spelling
// "<stem>.MB"/"<stem>.mb" wins when several spellings exist.
std::optional<std::filesystem::path> FindBlobFile(const std::filesystem::path& table) {
    namespace fs = std::filesystem;
    const fs::path folder = table.has_parent_path() ? table.parent_path() : fs::path(".");
    const std::string stem = table.stem().string();
    for (const char* extension : {".MB", ".mb"}) {
        std::error_code error;
        const fs::path exact = folder / (stem + extension);
        if (fs::is_regular_file(exact, error)) {
            return exact;
        }
    }
    const std::string wanted = Lower(stem + ".mb");
    std::vector<fs::path> matches;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        if (Lower(it->path().filename().string()) == wanted) {
            matches.push_back(it->path());
        }
    }
    if (matches.empty()) {
        return std::nullopt;
    }
    std::sort(matches.begin(), matches.end());
    return matches.front();
}

std::unique_ptr<TextDecoder> MakeDecoder(const TableHeader& header, const OpenOptions& options,
                                         std::vector<std::string>& warnings) {
    const std::optional<int> wanted = options.codePage ? options.codePage : header.codePage;
    std::optional<CodePage> codePage = CodePageFor(wanted, header.sortOrder);
    if (!codePage) {
        warnings.push_back("the code page " + std::to_string(wanted.value_or(0)) +
                           " is not known; the text is read as code page 437");
        codePage = CodePage{};
    }
    try {
        return std::make_unique<TextDecoder>(*codePage);
    } catch (const std::runtime_error&) {
        warnings.push_back("the code page " + std::to_string(codePage->number) +
                           " is not available here; the text is read as code page 437");
        return std::make_unique<TextDecoder>(CodePage{});
    }
}

bool HasBlobFields(const std::vector<RawField>& fields) {
    return std::any_of(fields.begin(), fields.end(),
                       [](const RawField& f) { return IsBlobType(f.type); });
}

}  // namespace

std::unique_ptr<Table::Impl> OpenTableImpl(std::unique_ptr<ByteSource> source,
                                           const BlobOpener& openBlobs,
                                           const OpenOptions& options) {
    auto impl = std::make_unique<Table::Impl>();
    const ByteSource& file = *source;
    if (file.size() == 0) {
        throw Error(file.name(), "the file is empty");
    }
    if (file.size() < kFixedHeaderSize) {
        throw Error(file.name(), "the file is only " + std::to_string(file.size()) +
                                     " bytes long, too short for a Paradox table header");
    }
    std::vector<std::uint8_t> bytes(kFixedHeaderSize);
    file.read(0, bytes);
    const std::size_t wanted = std::max<std::size_t>(DeclaredHeaderSize(bytes), kFixedHeaderSize);
    bytes.resize(static_cast<std::size_t>(std::min<std::uint64_t>(wanted, file.size())));
    file.read(0, bytes);
    ParsedHeader parsed = ParseHeader(bytes, file.name());

    impl->header = parsed.header;
    impl->decoder = MakeDecoder(impl->header, options, impl->warnings);
    impl->storedName = impl->decoder->decode(parsed.tableName);
    impl->fields.reserve(parsed.fields.size());
    for (const RawField& raw : parsed.fields) {
        impl->fields.push_back(
            Field{impl->decoder->decode(raw.name), raw.type, raw.size, raw.storage, raw.offset});
    }
    impl->chain = WalkBlockChain(file, impl->header, impl->warnings);

    if (HasBlobFields(parsed.fields)) {
        // A .MB file that is missing or cannot be opened only matters to the values kept in
        // it: the rest of the table stays readable, and those values fail with this reason.
        try {
            std::unique_ptr<ByteSource> blobSource = openBlobs();
            if (blobSource) {
                std::optional<ScrambleKey> key;
                if (impl->header.scrambled()) {
                    key = ScrambleKeyFrom(impl->header.scrambleKey);
                }
                impl->blobs.emplace(std::move(blobSource), key);
            } else {
                impl->blobProblem = "the memo file is missing";
            }
        } catch (const Error& error) {
            impl->blobProblem =
                "the memo file " + error.file() + " cannot be read: " + error.fault();
        }
    }
    impl->source = std::move(source);
    return impl;
}

Table::Table(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
Table::Table(Table&&) noexcept = default;
Table& Table::operator=(Table&&) noexcept = default;
Table::~Table() = default;

Table Table::Open(const std::string& path, const OpenOptions& options) {
    std::unique_ptr<ByteSource> source = OpenFileSource(path);
    const BlobOpener openBlobs = [&path]() -> std::unique_ptr<ByteSource> {
        const std::optional<std::filesystem::path> blobPath = FindBlobFile(path);
        if (!blobPath) {
            return nullptr;
        }
        return OpenFileSource(blobPath->string());
    };
    return Table(OpenTableImpl(std::move(source), openBlobs, options));
}

Table Table::FromMemory(std::string name, std::vector<std::uint8_t> table,
                        std::optional<std::vector<std::uint8_t>> blobs,
                        const OpenOptions& options) {
    const std::string blobName = name + " (memo file)";
    const BlobOpener openBlobs = [&]() -> std::unique_ptr<ByteSource> {
        if (!blobs) {
            return nullptr;
        }
        return MemorySource(blobName, std::move(*blobs));
    };
    return Table(
        OpenTableImpl(MemorySource(std::move(name), std::move(table)), openBlobs, options));
}

}  // namespace quorvex::paradox
