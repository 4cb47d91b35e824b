// A node of the virtual file system. A directory owns its sub-directories
// and files: deleting it deletes everything below. A child's parent always
// names the directory whose array holds it.
//
// Children are kept in descending order of the first byte of their names
// (signed), later arrivals after earlier ones with the same first byte,
// empty names last; this order decides which of two equally named files a
// bare name finds. All name comparisons are exact bytes.
#pragma once

#include <cstdint>

#include "engine/core/GrowableArray.h"
#include "engine/core/Named.h"
#include "engine/core/String.h"

namespace zel {

class File;

class Directory : public Named {
public:
    // Attaches itself to `parent` when given; a refused attach is logged and
    // the directory is still made.
    Directory(const String& name, Directory* parent);
    // Detaches from the parent, then deletes every sub-directory and file.
    ~Directory() override;

    Directory(const Directory&) = delete;
    Directory& operator=(const Directory&) = delete;

    // "" for a directory with an empty name (the root); otherwise the
    // parent's full path, name and "/". The parent's path is cached on first
    // use and never refreshed.
    String GetFullPath();

    // Takes ownership and sets the child's parent. kOk; kInvalidArgument
    // (logged) for null, a child already in this directory or held by
    // another one, and for a directory that would contain itself;
    // kOutOfMemory (logged).
    int32_t AttachDirectory(Directory* directory);
    int32_t AttachFile(File* file);
    // Gives ownership back and clears the child's parent; the child is not
    // deleted. kOk; kInvalidArgument (logged) for null or a stranger.
    int32_t DetachDirectory(Directory* directory);
    int32_t DetachFile(File* file);

    // Walks a relative path: components separated by '\' if the remaining
    // path holds one, else by '/'; "" and "." stay, ".." goes up, an empty
    // component (leading or doubled separator) stays. A path equal to the
    // current directory's own name names that directory. Null when a
    // component is missing or ".." leaves the tree.
    Directory* FindDirectory(const String& path);
    // With a directory part: FindDirectory on it, then FindFile of the rest
    // there. A bare name: this directory's files in order, then each
    // sub-directory's, depth first. Null when not found.
    File* FindFile(const String& path);

    // The sub-directory of exactly that name (no path walking), or null.
    Directory* FindChildDirectory(const char* name, int32_t length) const;
    // The sub-directory of exactly that name, made and attached when
    // missing. Null when memory runs out.
    Directory* FindOrMakeChildDirectory(const char* name, int32_t length);

    Directory* GetParent() const { return parent_; }
    int32_t GetDirectoryCount() const { return directories_.Count(); }
    Directory* GetDirectory(int32_t index) const { return directories_[index]; }
    int32_t GetFileCount() const { return files_.Count(); }
    File* GetFile(int32_t index) const { return files_[index]; }

private:
    static String BuildFullPath(Directory* directory);
    File* FindOwnFile(const String& name) const;
    File* FindFileBelow(const String& name);
    void DeleteContents();
    void DeleteFiles();

    String parentPath_;  // cache of the parent's full path
    Directory* parent_ = nullptr;  // not owning: the parent owns this
    GrowableArray<Directory*> directories_{1, 1};  // owned
    GrowableArray<File*> files_{1, 1};  // owned
    // Set when an ancestor's destructor has already emptied this directory.
    bool emptied_ = false;
};

}  // namespace zel
