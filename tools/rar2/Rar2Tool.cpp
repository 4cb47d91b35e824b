#include "tools/rar2/Rar2Tool.h"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>

#include "engine/core/Log.h"
#include "engine/core/Status.h"
#include "engine/resources/rar/Rar2Archive.h"
#include "engine/resources/rar/Rar2Format.h"
#include "tools/rar2/writer/Rar2Writer.h"

namespace zel {

namespace fs = std::filesystem;

namespace {

bool ReadFile(const std::string& path, std::vector<uint8_t>& bytes) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr) return false;
    bytes.clear();
    uint8_t chunk[1 << 16];
    size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) bytes.insert(bytes.end(), chunk, chunk + n);
    bool ok = std::ferror(f) == 0;
    std::fclose(f);
    return ok;
}

bool WriteFile(const std::string& path, const uint8_t* data, size_t size) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) return false;
    bool ok = std::fwrite(data, 1, size, f) == size;
    return std::fclose(f) == 0 && ok;
}

// Local time as DOS keeps it; SOURCE_DATE_EPOCH (in UTC) makes builds repeatable.
uint32_t DosTimeOf(const std::string& path) {
    std::time_t t = 0;
    bool utc = false;
    if (const char* epoch = std::getenv("SOURCE_DATE_EPOCH")) {
        t = std::time_t(std::strtoll(epoch, nullptr, 10));
        utc = true;
    } else {
        struct stat st;
        if (::stat(path.c_str(), &st) == 0) t = st.st_mtime;
    }
    std::tm parts{};
    std::tm* p = utc ? std::gmtime(&t) : std::localtime(&t);
    if (p == nullptr) return Rar2Writer::DosTime(1980, 1, 1, 0, 0, 0);
    parts = *p;
    return Rar2Writer::DosTime(parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday, parts.tm_hour, parts.tm_min,
                               parts.tm_sec);
}

uint32_t FileAttributes(const std::string& path) {
    uint32_t attributes = Rar2Format::kDosAttributeArchive;
    struct stat st;
    if (::stat(path.c_str(), &st) == 0 && (st.st_mode & S_IWUSR) == 0) attributes |= Rar2Format::kDosAttributeReadOnly;
    return attributes;
}

class Packer {
public:
    Packer(const Rar2Tool::PackOptions& options) : options_(options), writer_(options.solid) {}

    bool AddPath(const fs::path& path, const std::string& name) {
        std::error_code ec;
        if (fs::is_directory(path, ec)) {
            if (!name.empty() && !AddDirectory(path, name)) return false;
            return AddContents(path, name);
        }
        if (!fs::exists(path, ec)) {
            LogError("no such file or directory: %s", path.string().c_str());
            return false;
        }
        return AddFile(path, name);
    }

    const Rar2Writer& Writer() const { return writer_; }

private:
    bool AddDirectory(const fs::path& path, const std::string& name) {
        if (writer_.AddDirectory(name.c_str(), TimeOf(path)) != kOk) {
            LogError("cannot add directory %s", name.c_str());
            return false;
        }
        return true;
    }

    // Sorted by name so archives do not depend on the file system's order;
    // each directory entry goes before what it holds.
    bool AddContents(const fs::path& directory, const std::string& prefix) {
        std::error_code ec;
        std::vector<fs::path> children;
        for (fs::directory_iterator it(directory, ec), end; !ec && it != end; it.increment(ec))
            children.push_back(it->path());
        if (ec) {
            LogError("cannot read directory %s", directory.string().c_str());
            return false;
        }
        std::sort(children.begin(), children.end());
        for (const fs::path& child : children) {
            std::string name = prefix.empty() ? child.filename().string() : prefix + "\\" + child.filename().string();
            if (!AddPath(child, name)) return false;
        }
        return true;
    }

    bool AddFile(const fs::path& path, const std::string& name) {
        std::vector<uint8_t> bytes;
        if (!ReadFile(path.string(), bytes)) {
            LogError("cannot read %s", path.string().c_str());
            return false;
        }
        Rar2Writer::FileOptions file;
        file.method = options_.store || IsStored(name) ? Rar2Format::kMethodStore : uint8_t(options_.method);
        file.audioChannels = options_.audioChannels;
        int32_t status = writer_.AddFile(name.c_str(), bytes.data(), bytes.size(), TimeOf(path),
                                         FileAttributes(path.string()), file);
        if (status != kOk) {
            LogError("cannot add %s (status %d)", name.c_str(), int(status));
            return false;
        }
        return true;
    }

    uint32_t TimeOf(const fs::path& path) const {
        return options_.fixedDosTime != 0 ? options_.fixedDosTime : DosTimeOf(path.string());
    }

    bool IsStored(const std::string& name) const {
        for (const std::string& suffix : options_.storeSuffixes) {
            if (suffix.size() > name.size()) continue;
            const std::string end = name.substr(name.size() - suffix.size());
            if (std::equal(end.begin(), end.end(), suffix.begin(), suffix.end(),
                           [](char a, char b) { return std::tolower(uint8_t(a)) == std::tolower(uint8_t(b)); }))
                return true;
        }
        return false;
    }

    Rar2Tool::PackOptions options_;
    Rar2Writer writer_;
};

bool OpenArchive(const std::string& path, std::vector<uint8_t>& bytes, Rar2Archive& archive) {
    if (!ReadFile(path, bytes)) {
        LogError("cannot read %s", path.c_str());
        return false;
    }
    if (archive.Open(bytes.data(), bytes.size()) != kOk) {
        LogError("%s: %s", path.c_str(), archive.GetError());
        return false;
    }
    return true;
}

// The entry's path below `root`, or false when the name would escape it.
bool SafeOutputPath(const std::string& root, const std::string& name, fs::path& out) {
    out = fs::path(root);
    size_t start = 0;
    bool any = false;
    while (start <= name.size()) {
        size_t end = name.find_first_of("\\/", start);
        if (end == std::string::npos) end = name.size();
        std::string part = name.substr(start, end - start);
        if (part == ".." || part.find(':') != std::string::npos) return false;
        if (!part.empty() && part != ".") {
            out /= part;
            any = true;
        }
        start = end + 1;
    }
    return any;
}

}  // namespace

int Rar2Tool::Pack(const std::string& archive, const std::vector<std::string>& paths, const PackOptions& options) {
    Packer packer(options);
    for (const std::string& p : paths) {
        fs::path path(p);
        bool contents = !p.empty() && (p.back() == '/' || p.back() == '\\');
        std::string name = contents ? std::string() : path.filename().string();
        if (!contents && (name.empty() || name == "." || name == "..")) {
            std::error_code ec;
            name = fs::absolute(path, ec).lexically_normal().filename().string();
        }
        if (!packer.AddPath(path, name)) return 1;
    }
    const Rar2Writer& writer = packer.Writer();
    if (writer.GetStatus() != kOk) {
        LogError("out of memory while packing %s", archive.c_str());
        return 1;
    }
    if (!WriteFile(archive, writer.GetData(), writer.GetSize())) {
        LogError("cannot write %s", archive.c_str());
        return 1;
    }
    return 0;
}

int Rar2Tool::List(const std::string& path) {
    std::vector<uint8_t> bytes;
    Rar2Archive archive;
    if (!OpenArchive(path, bytes, archive)) return 1;
    std::printf("%s%s, %zu entries\n", path.c_str(), archive.IsSolid() ? " (solid)" : "", archive.GetEntryCount());
    std::printf("%12s %12s %6s %4s %3s %4s %8s %-19s %s\n", "Size", "Packed", "Ratio", "Meth", "Ver", "Attr", "CRC32",
                "Modified", "Name");
    for (size_t i = 0; i < archive.GetEntryCount(); ++i) {
        const Rar2Entry& e = archive.GetEntry(i);
        unsigned ratio = e.unpackedSize ? unsigned(e.packedSize * 100 / e.unpackedSize) : 0;
        uint32_t date = e.dosTime >> 16;
        uint32_t time = e.dosTime & 0xFFFF;
        std::printf("%12llu %12llu %5u%% %4X %3u %4X %08X %04u-%02u-%02u %02u:%02u:%02u %s%s\n",
                    (unsigned long long)e.unpackedSize, (unsigned long long)e.packedSize, ratio, e.method,
                    e.unpackVersion, e.attributes, e.crc32, (date >> 9) + 1980, (date >> 5) & 15, date & 31,
                    time >> 11, (time >> 5) & 63, (time & 31) * 2, e.name.c_str(), e.isDirectory ? "\\" : "");
    }
    return 0;
}

int Rar2Tool::Test(const std::string& path) {
    std::vector<uint8_t> bytes;
    Rar2Archive archive;
    if (!OpenArchive(path, bytes, archive)) return 1;
    size_t failed = 0;
    size_t files = 0;
    for (size_t i = 0; i < archive.GetEntryCount(); ++i) {
        const Rar2Entry& e = archive.GetEntry(i);
        if (e.isDirectory) continue;
        ++files;
        uint8_t* data = nullptr;
        size_t size = 0;
        if (archive.Extract(i, &data, &size) != kOk) {
            LogError("%s: %s", e.name.c_str(), archive.GetError());
            ++failed;
            continue;
        }
        delete[] data;
        std::printf("OK     %s\n", e.name.c_str());
    }
    std::printf("%zu passed, %zu failed\n", files - failed, failed);
    return failed == 0 ? 0 : 1;
}

int Rar2Tool::Extract(const std::string& path, const std::string& directory) {
    std::vector<uint8_t> bytes;
    Rar2Archive archive;
    if (!OpenArchive(path, bytes, archive)) return 1;
    size_t failed = 0;
    for (size_t i = 0; i < archive.GetEntryCount(); ++i) {
        const Rar2Entry& e = archive.GetEntry(i);
        fs::path target;
        if (!SafeOutputPath(directory, e.name, target)) {
            LogError("%s: refusing a name outside the target directory", e.name.c_str());
            ++failed;
            continue;
        }
        std::error_code ec;
        fs::create_directories(e.isDirectory ? target : target.parent_path(), ec);
        if (ec) {
            LogError("cannot create directory for %s", e.name.c_str());
            ++failed;
            continue;
        }
        if (e.isDirectory) continue;
        uint8_t* data = nullptr;
        size_t size = 0;
        if (archive.Extract(i, &data, &size) != kOk) {
            LogError("%s: %s", e.name.c_str(), archive.GetError());
            ++failed;
            continue;
        }
        bool written = WriteFile(target.string(), data, size);
        delete[] data;
        if (!written) {
            LogError("cannot write %s", target.string().c_str());
            ++failed;
        }
    }
    return failed == 0 ? 0 : 1;
}

}  // namespace zel
