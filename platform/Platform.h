// The services of the operating system that the program uses, behind one small interface.
// The Win32 implementation lives in platform/win32, a host implementation for tests on Linux in
// platform/host. Every text is UTF-8; paths use "\" as separator on both.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel {

enum class MessageIcon { Error, Information, Warning };

// The version numbers the system reports to the process (as GetVersionEx gives them).
struct OsVersion {
    int major = 0;
    int minor = 0;
    bool operator==(const OsVersion&) const = default;
};

// One entry of a directory listing.
struct DirectoryEntry {
    std::string name;    // the entry's own name, no path
    bool isDirectory;    // a directory (reparse points included)
    bool isReparsePoint; // a symbolic link, junction or other reparse point
};

// One member of a cabinet (a theme pack), as its directory lists it.
struct CabinetMember {
    std::size_t index = 0; // its place in the cabinet's list of members, from 0
    // Its name, UTF-8 with "\" between folders; empty when the cabinet's bytes for it are not
    // valid in the encoding the cabinet declares for it.
    std::string name;
    std::uint64_t size = 0; // in bytes, as the cabinet states it
};

// What to do with a member: leave it, write it to `target` (a full path whose folder exists;
// the file must not exist yet) or stop reading the cabinet.
struct CabinetDecision {
    enum class Action { Skip, Extract, Stop };
    Action action = Action::Skip;
    std::string target;
};
using CabinetVisitor = std::function<CabinetDecision(const CabinetMember&)>;

enum class CabinetStatus {
    Done,        // every member was offered and those chosen were written
    CannotOpen,  // the file cannot be read
    NotCabinet,  // the file is no cabinet
    Damaged,     // a damaged or truncated cabinet (also one that continues in another file)
    Unsupported, // a compression this build cannot read
    WriteFailed, // a member's file could not be made or written
    Stopped,     // the visitor stopped
};

// Why readRegularFile gave no content.
enum class ReadRefusal {
    None,       // the content was read
    Unreadable, // missing, not allowed, or the read failed
    NotAFile,   // a directory, a device, a pipe or anything else that is no file on a disk
    TooLarge,   // more bytes than the caller's limit
};
struct BoundedRead {
    std::optional<std::string> bytes; // the whole content, when it was read
    ReadRefusal refusal = ReadRefusal::None;
};
struct FilePart {
    ReadRefusal refusal = ReadRefusal::None; // never TooLarge
    std::uint64_t fileSize = 0;
    std::string bytes;
};

// One member of a cabinet: a file added straight from its source, or bytes held in memory.
struct CabinetEntry {
    std::string sourcePath;          // the file to add; empty when `bytes` is the content
    std::vector<std::uint8_t> bytes; // the content when there is no source file
    std::string name;                // the name in the cabinet, ASCII, "\" between folders
    bool compress = true;            // MSZIP, or stored as it is
};

enum class CabinetResult {
    Written,
    TooLarge, // over kMaxCabinetBytes of content or kMaxCabinetMembers members; nothing written
    SourceMissing, // a member's source file cannot be opened; nothing written
    Failed,        // the cabinet could not be written; the target is as it was
};

// What one cabinet can hold: its size fields count bytes in 31 bits (less room for the headers
// and one block), its file count in 16.
inline constexpr std::uint64_t kMaxCabinetBytes = 0x7FFF8000;
inline constexpr std::size_t kMaxCabinetMembers = 65535;

// What replaceFile appends to the target's name for the new file it writes first.
inline constexpr std::string_view kReplacementSuffix = ".new~";

class Platform {
public:
    virtual ~Platform() = default;

    // --- files -------------------------------------------------------------------------------
    // Creates exactly one level; fails when the path exists (file or directory) or its parent
    // is missing.
    virtual bool makeDirectory(const std::string& path) = 0;
    // True when the path names an existing directory (a trailing "\" is allowed).
    virtual bool isDirectory(const std::string& path) = 0;
    // Copies a file, overwriting an existing target.
    virtual bool copyFile(const std::string& source, const std::string& target) = 0;
    // Creates the file or truncates an existing one and writes the bytes. An empty path fails
    // without touching anything.
    virtual bool writeFile(const std::string& path, std::span<const std::uint8_t> bytes) = 0;
    // Writes the bytes into a new file beside the target (same folder, the target's name with a
    // suffix) and then puts it in the target's place in one step, replacing an existing target.
    // Should anything fail, the target keeps its previous content and the new file is removed.
    virtual bool replaceFile(const std::string& path, std::span<const std::uint8_t> bytes) = 0;
    // Writes a cabinet of the members, in their order, beside the target (as replaceFile does)
    // and then puts it in the target's place. The sizes and the sources are checked before
    // anything is written; should anything fail, the target keeps its previous content.
    virtual CabinetResult writeCabinet(const std::string& path,
                                       std::span<const CabinetEntry> members) = 0;
    // True when the path names an existing file (not a directory).
    virtual bool fileExists(const std::string& path) = 0;
    // The whole content of a file, or nothing when it cannot be read.
    virtual std::optional<std::string> readFile(const std::string& path) = 0;
    // The whole content of a file on a disk of at most `maxBytes` bytes. Whatever else the path
    // names (a directory, a device such as COM1 or NUL, a pipe) and a larger file are refused
    // as soon as the open handle tells, without reading from them; a file that grows beyond
    // the limit while it is read is refused as well. Never blocks on a device or pipe.
    virtual BoundedRead readRegularFile(const std::string& path, std::uint64_t maxBytes) = 0;
    // Up to `count` bytes from `offset` of a file on a disk (fewer at its end, none beyond it),
    // with the file's size. Refuses what readRegularFile refuses as no file, as it does.
    virtual FilePart readFilePart(const std::string& path, std::uint64_t offset,
                                  std::size_t count) = 0;
    // The entries of a directory ("." and ".." left out), in the order the system lists them,
    // or nothing when the directory cannot be listed.
    virtual std::optional<std::vector<DirectoryEntry>> listDirectory(const std::string& path) = 0;
    // Replaces %NAME% references by the values of the environment (unknown names stay as they
    // are).
    virtual std::string expandEnvironment(const std::string& text) = 0;
    // Gives a file or a directory a new path on the same volume; fails when the target exists.
    virtual bool movePath(const std::string& from, const std::string& to) = 0;
    // Deletes a file, or an empty directory (a reparse point is removed, not followed).
    virtual bool removePath(const std::string& path) = 0;
    // The bytes the current user may still write on the volume of an existing folder.
    virtual std::optional<std::uint64_t> freeSpace(const std::string& folder) = 0;
    // The current user's local application data folder (on Windows XP the profile's
    // "Local Settings\Application Data"); empty when the system does not tell.
    virtual std::string localDataFolder() = 0;
    // Reads a cabinet through the system's cabinet library: offers each member to the visitor
    // in the cabinet's order and writes those it chooses, each exactly as many bytes as the
    // cabinet states. Nothing else is written.
    virtual CabinetStatus readCabinet(const std::string& path, const CabinetVisitor& visit) = 0;

    // --- text ------------------------------------------------------------------------------
    // The text in the system's ANSI code page, or nothing when the code page cannot hold it.
    virtual std::optional<std::string> toAnsi(std::string_view utf8) = 0;
    // The reverse: text in the system's ANSI code page as UTF-8, or nothing when the bytes are
    // not valid in that code page.
    virtual std::optional<std::string> fromAnsi(std::string_view ansi) = 0;
    // True when the byte starts a two-byte character of the ANSI code page.
    virtual bool isAnsiLeadByte(unsigned char byte) = 0;

    // --- user ------------------------------------------------------------------------------
    // A modal box with one OK button. While the program's main window exists the box is owned
    // by it (the window is disabled until the box is confirmed); before, it has no owner.
    virtual void messageBox(const std::string& text, MessageIcon icon,
                            const std::string& title) = 0;
    // Sleeps on the calling thread.
    virtual void delay(int milliseconds) = 0;

    // --- system ----------------------------------------------------------------------------
    // The major and minor version the system reports to this process.
    virtual OsVersion osVersion() = 0;
    // Hands a web address to the shell's "open" action (the default browser); the result is
    // not examined.
    virtual void openWebAddress(const std::string& address) = 0;
};

} // namespace quorvel
