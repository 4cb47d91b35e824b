// Makes a scene file's companions findable the way the screensaver finds
// them: by name below the virtual file system's root. A scene on disk gets
// its folder mounted (every regular file in it, read from disk when
// opened); a scene in an archive gets the archive mounted. What is mounted
// stays attached to the root until the engine stops.
#pragma once

#include <string>

namespace zel {

// Mounts the folder holding `path`. 0; 1 when the folder cannot be read.
int MountFolderOf(const std::string& path);
// Mounts the archive at `path` through its codec. 0; 1 on failure (the
// engine logs why).
int MountArchiveAt(const std::string& path);
// Loads the image, scene and archive codecs the screensaver uses.
void LoadSceneCodecs();

}  // namespace zel
