#include "engine/resources/Directory.h"

#include <cstring>
#include <new>

#include "engine/core/Log.h"
#include "engine/core/Status.h"
#include "engine/resources/File.h"

namespace zel {

namespace {

// A directory being walked without recursion and the next child to visit,
// so that deep trees cannot exhaust the call stack.
struct WalkFrame {
    Directory* directory;
    int32_t next;
};
using WalkStack = GrowableArray<WalkFrame>;
constexpr int32_t kWalkCapacity = 16;

// Appends with the capacity doubling when full: the walks may be as deep as
// the tree, and a fixed growth step would copy quadratically.
template <class T>
int32_t Push(GrowableArray<T>& stack, const T& value) {
    if (stack.Count() == stack.Capacity() && stack.Capacity() > 0 &&
        stack.Reserve(stack.Capacity() > INT32_MAX / 2 ? INT32_MAX : stack.Capacity() * 2) != kOk)
        return kOutOfMemory;
    return stack.Append(value);
}

bool SameName(const String& name, const char* text, int32_t length) {
    return name.Length() == length && std::memcmp(name.CStr(), text, static_cast<size_t>(length)) == 0;
}

// Where a child named `name` goes: before the first entry whose name is
// shorter (when either name is empty) or whose first byte, signed, is
// smaller; else at the end.
template <class T>
int32_t InsertionIndex(const GrowableArray<T*>& children, const String& name) {
    for (int32_t i = 0; i < children.Count(); ++i) {
        const String& existing = children[i]->GetName();
        bool before = existing.IsEmpty() || name.IsEmpty()
                          ? existing.Length() < name.Length()
                          : static_cast<int8_t>(existing[0]) < static_cast<int8_t>(name[0]);
        if (before) return i;
    }
    return children.Count();
}

template <class T>
int32_t InsertAt(GrowableArray<T*>& children, int32_t index, T* child) {
    if (children.Append(child) != kOk) return kOutOfMemory;
    for (int32_t i = children.Count() - 1; i > index; --i) children[i] = children[i - 1];
    children[index] = child;
    return kOk;
}

// First index at or after `from` holding `separator`, or `end`.
int32_t NextSeparator(const char* text, int32_t from, int32_t end, char separator) {
    while (from < end && text[from] != separator) ++from;
    return from;
}

int32_t LastSeparator(const String& path, char separator) {
    for (int32_t i = path.Length() - 1; i >= 0; --i)
        if (path[i] == separator) return i;
    return -1;
}

}  // namespace

// The full path of `directory`, built in one pass up the parent chain. The
// walk stops at an empty name (which contributes nothing, nor does anything
// above it), at a cached parent path, or at the top of the tree.
String Directory::BuildFullPath(Directory* directory) {
    GrowableArray<Directory*> chain(kWalkCapacity);
    const String* base = nullptr;
    int64_t length = 0;
    for (Directory* d = directory; d != nullptr && !d->GetName().IsEmpty(); d = d->GetParent()) {
        if (Push(chain, d) != kOk) return String();
        length += d->GetName().Length() + 1;
        const String& cached = d->parentPath_;
        if (!cached.IsEmpty()) {
            base = &cached;
            length += cached.Length();
            break;
        }
    }
    if (length > INT32_MAX) return String();
    char* text = new (std::nothrow) char[static_cast<size_t>(length) + 1];
    if (text == nullptr) return String();
    int32_t at = 0;
    if (base != nullptr) {
        std::memcpy(text, base->CStr(), static_cast<size_t>(base->Length()));
        at = base->Length();
    }
    for (int32_t i = chain.Count() - 1; i >= 0; --i) {
        const String& name = chain[i]->GetName();
        std::memcpy(text + at, name.CStr(), static_cast<size_t>(name.Length()));
        at += name.Length();
        text[at++] = '/';
    }
    String result(text, at);
    delete[] text;
    return result;
}

Directory::Directory(const String& name, Directory* parent) : Named(name) {
    if (parent != nullptr && parent->AttachDirectory(this) != kOk)
        LogWarning("Невозможно подсоединить директорию [%s] к корневой директории [%s].", name.CStr(),
                   parent->GetName().CStr());
}

Directory::~Directory() {
    if (emptied_) return;
    LogInfo("Удаляется директория [%s].", GetName().CStr());
    if (parent_ != nullptr && parent_->DetachDirectory(this) != kOk)
        LogWarning("Невозможно отсоединить директорию [%s] от корневой директории [%s].", GetName().CStr(),
                   parent_->GetName().CStr());
    DeleteContents();
    LogInfo("Директория удалена [%s].", GetName().CStr());
}

// Deletes the subtree depth first with an explicit stack, writing the same
// lines in the same order as nested destructors would: each sub-directory
// (its own sub-directories, then its files), then this directory's files.
void Directory::DeleteContents() {
    WalkStack stack(kWalkCapacity);
    if (Push(stack, WalkFrame{this, 0}) != kOk) {
        for (Directory* child : directories_) {
            child->parent_ = nullptr;
            delete child;
        }
        directories_.Clear();
        DeleteFiles();
        return;
    }
    while (stack.Count() > 0) {
        WalkFrame& top = stack[stack.Count() - 1];
        Directory* current = top.directory;
        if (top.next < current->directories_.Count()) {
            Directory* child = current->directories_[top.next++];
            child->parent_ = nullptr;
            if (Push(stack, WalkFrame{child, 0}) != kOk) {
                delete child;  // out of memory: the child recurses on its own
                continue;
            }
            LogInfo("Удаляется директория [%s].", child->GetName().CStr());
            continue;
        }
        current->directories_.Clear();
        current->DeleteFiles();
        stack.RemoveAt(stack.Count() - 1);
        if (current != this) {
            LogInfo("Директория удалена [%s].", current->GetName().CStr());
            current->emptied_ = true;
            delete current;
        }
    }
}

void Directory::DeleteFiles() {
    for (File* file : files_) {
        file->SetParent(nullptr);
        delete file;
    }
    files_.Clear();
}

String Directory::GetFullPath() {
    if (GetName().IsEmpty()) return String();
    if (parentPath_.IsEmpty() && parent_ != nullptr) parentPath_ = BuildFullPath(parent_);
    return BuildFullPath(this);
}

int32_t Directory::AttachDirectory(Directory* directory) {
    if (directory == nullptr) {
        LogWarning("Указатель на присоединяемую директорию равен 0. Корневая директория [%s].", GetName().CStr());
        return kInvalidArgument;
    }
    // A directory held elsewhere would get two owners.
    if (directory->parent_ != nullptr || directories_.Find(directory) >= 0) {
        LogWarning("Присоединяемая директория [%s] уже присоединена к директории [%s].", directory->GetName().CStr(),
                   GetName().CStr());
        return kInvalidArgument;
    }
    // An ancestor below itself would make the tree a cycle. Only a directory
    // with sub-directories can be an ancestor, which spares the walk up when
    // trees are built from the top.
    bool mayBeAncestor = directory == this || directory->directories_.Count() > 0;
    for (Directory* d = this; mayBeAncestor && d != nullptr; d = d->parent_) {
        if (d == directory) {
            LogWarning("Присоединяемая директория [%s] содержит директорию [%s].", directory->GetName().CStr(),
                       GetName().CStr());
            return kInvalidArgument;
        }
    }
    int32_t index = InsertionIndex(directories_, directory->GetName());
    bool appended = index == directories_.Count();
    if (InsertAt(directories_, index, directory) != kOk) {
        LogWarning("Недостаточно памяти для присоединения директории [%s] к директории [%s].",
                   directory->GetName().CStr(), GetName().CStr());
        return kOutOfMemory;
    }
    directory->parent_ = this;
    if (appended)
        LogInfo("Директория [%s] добавлена к директории [%s].", directory->GetName().CStr(), GetName().CStr());
    return kOk;
}

int32_t Directory::AttachFile(File* file) {
    if (file == nullptr) {
        LogWarning("Указатель на присоединяемый файл равен 0. Корневая директория [%s].", GetName().CStr());
        return kInvalidArgument;
    }
    if (file->GetParent() != nullptr || files_.Find(file) >= 0) {
        LogWarning("Присоединяемый файл [%s] уже присоединена к директории [%s].", file->GetName().CStr(),
                   GetName().CStr());
        return kInvalidArgument;
    }
    int32_t index = InsertionIndex(files_, file->GetName());
    bool appended = index == files_.Count();
    if (InsertAt(files_, index, file) != kOk) {
        LogWarning("Недостаточно памяти для присоединения файла [%s] к директории [%s].", file->GetName().CStr(),
                   GetName().CStr());
        return kOutOfMemory;
    }
    file->SetParent(this);
    if (appended) LogInfo("Файл [%s] добавлен к директории [%s].", file->GetName().CStr(), GetName().CStr());
    return kOk;
}

int32_t Directory::DetachDirectory(Directory* directory) {
    if (directory == nullptr) {
        LogWarning("Указатель на отсоединяемую директорию равен 0. Корневая директория [%s].", GetName().CStr());
        return kInvalidArgument;
    }
    int32_t index = directories_.Find(directory);
    if (index < 0) {
        LogWarning("Удаляемая директория [%s] не найдена в директории [%s].", directory->GetName().CStr(),
                   GetName().CStr());
        return kInvalidArgument;
    }
    directory->parent_ = nullptr;
    directories_.RemoveAt(index);
    LogInfo("Директория [%s] удалена из директории [%s].", directory->GetName().CStr(), GetName().CStr());
    return kOk;
}

int32_t Directory::DetachFile(File* file) {
    if (file == nullptr) {
        LogWarning("Указатель на отсоединяемый файл равен 0. Корневая директория [%s].", GetName().CStr());
        return kInvalidArgument;
    }
    int32_t index = files_.Find(file);
    if (index < 0) {
        LogWarning("Удаляемый файл [%s] не найден в директории [%s].", file->GetName().CStr(), GetName().CStr());
        return kInvalidArgument;
    }
    file->SetParent(nullptr);
    files_.RemoveAt(index);
    LogInfo("Файл [%s] удалён из директории [%s].", file->GetName().CStr(), GetName().CStr());
    return kOk;
}

// Walks the path one component at a time without recursion. The separator
// positions only move forward, so a path of any length is walked in linear
// time.
Directory* Directory::FindDirectory(const String& path) {
    const char* text = path.CStr();
    const int32_t end = path.Length();
    int32_t start = 0;
    int32_t backslash = NextSeparator(text, 0, end, '\\');
    int32_t slash = NextSeparator(text, 0, end, '/');
    Directory* current = this;
    for (;;) {
        const char* rest = text + start;
        int32_t restLength = end - start;
        if (restLength == 0 || (restLength == 1 && rest[0] == '.') || SameName(current->GetName(), rest, restLength))
            return current;
        if (backslash < start) backslash = NextSeparator(text, start, end, '\\');
        if (slash < start) slash = NextSeparator(text, start, end, '/');
        int32_t separator = backslash < end ? backslash : slash;
        int32_t headLength = separator - start;
        start = separator < end ? separator + 1 : end;
        if (headLength == 0 || (headLength == 1 && rest[0] == '.')) continue;
        if (headLength == 2 && rest[0] == '.' && rest[1] == '.')
            current = current->parent_;
        else
            current = current->FindChildDirectory(rest, headLength);
        if (current == nullptr) return nullptr;
    }
}

File* Directory::FindFile(const String& path) {
    int32_t separator = LastSeparator(path, '\\');
    if (separator < 0) separator = LastSeparator(path, '/');
    if (separator < 0) return FindFileBelow(path);
    Directory* directory = FindDirectory(String(path.CStr(), separator));
    if (directory == nullptr) return nullptr;
    return directory->FindFile(String(path.CStr() + separator + 1, path.Length() - separator - 1));
}

Directory* Directory::FindChildDirectory(const char* name, int32_t length) const {
    for (Directory* child : directories_)
        if (SameName(child->GetName(), name, length)) return child;
    return nullptr;
}

Directory* Directory::FindOrMakeChildDirectory(const char* name, int32_t length) {
    if (Directory* found = FindChildDirectory(name, length)) return found;
    Directory* made = new (std::nothrow) Directory(String(name, length), nullptr);
    if (made == nullptr) return nullptr;
    if (AttachDirectory(made) != kOk) {
        delete made;
        return nullptr;
    }
    return made;
}

File* Directory::FindOwnFile(const String& name) const {
    for (File* file : files_)
        if (file->GetName() == name) return file;
    return nullptr;
}

// Depth first: this directory's files, then each sub-directory in order
// with everything below it before the next one.
File* Directory::FindFileBelow(const String& name) {
    if (File* file = FindOwnFile(name)) return file;
    WalkStack stack(kWalkCapacity);
    if (Push(stack, WalkFrame{this, 0}) != kOk) return nullptr;
    while (stack.Count() > 0) {
        WalkFrame& top = stack[stack.Count() - 1];
        if (top.next >= top.directory->directories_.Count()) {
            stack.RemoveAt(stack.Count() - 1);
            continue;
        }
        Directory* child = top.directory->directories_[top.next++];
        if (File* file = child->FindOwnFile(name)) return file;
        if (Push(stack, WalkFrame{child, 0}) != kOk) return nullptr;
    }
    return nullptr;
}

}  // namespace zel
