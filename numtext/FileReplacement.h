#pragma once
// The file-system steps of saving by replacement: a new file beside the target that nobody else
// can have prepared, the file that a name stands for, and the sync of the folder after the
// rename. Failures are the operating system's (-1 and errno), for the text-file facility to turn
// into its codes.

#include <string>

// Creates `path` for writing with mode 0600. Fails with EEXIST when anything is there already;
// a symbolic link in its place is never followed.
int CreateExclusive(const std::string& path);
// Creates a file with CreateExclusive under an unpredictable hidden name in the folder of
// `target`, trying a few names while they are taken. The descriptor (its name in `name`), or -1.
int CreateTemporaryBeside(const std::string& target, std::string& name);
// The file that saving `name` replaces: the name itself, or the file that a symbolic link leads
// to (so the link stays a link). Empty for a link that leads to nothing yet.
std::string FileBehindName(const std::string& name);
// Makes a rename in the folder of `path` last. 0, or -1 with errno; a folder that this user may
// not open, or a file system that cannot sync folders, counts as done.
int SyncFolderOf(const std::string& path);
// The permissions a new file gets from the user's file-creation mask (0666 without it).
unsigned NewFilePermissions();
