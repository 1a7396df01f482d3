// The editor's document on disk: how the file was when it was opened or last saved, so that a
// save never writes over what another program saved meanwhile without asking; and the lock
// file beside it, which tells another editor that the document is open here.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace coordinates {

class DocumentFile {
public:
    DocumentFile();
    DocumentFile(const DocumentFile&) = delete;
    DocumentFile& operator=(const DocumentFile&) = delete;
    ~DocumentFile() { Detach(); }

    // Takes path as the document (empty: untitled): remembers the file as it is now, and
    // locks it unless another editor that still runs holds it. Returns who holds it then
    // ("user@host, process N"), else the empty text.
    std::string Attach(const std::filesystem::path& path);
    // Gives the lock back (only a lock of this editor's own is removed) and forgets the file.
    void Detach() noexcept;
    [[nodiscard]] const std::filesystem::path& Path() const noexcept { return m_path; }

    // After a save: the file as this editor wrote it.
    void Remember();
    // Whether the file changed since it was opened or last saved: another size, time or file
    // (a save of another program renames a new file into place). A file gone since counts as
    // unchanged, since nothing of anyone's would be written over.
    [[nodiscard]] bool ChangedOnDisk() const;

    [[nodiscard]] static std::filesystem::path LockPath(const std::filesystem::path& document);

private:
    struct Stamp {
        bool exists = false;
        std::uintmax_t device = 0;
        std::uintmax_t inode = 0;
        std::intmax_t size = 0;
        std::intmax_t seconds = 0;
        long nanoseconds = 0;
        bool operator==(const Stamp&) const = default;
    };
    [[nodiscard]] static Stamp StampOf(const std::filesystem::path& path);
    [[nodiscard]] std::string LockText() const;

    std::filesystem::path m_path;
    Stamp m_stamp;
    bool m_locked = false;
    // Tells this editor's locks from those of another frame of the same process.
    unsigned m_instance;
};

} // namespace coordinates
