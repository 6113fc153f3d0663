#pragma once
// The calls on which a replacement's safety rests, reached through one table so
// that tests can make them fail: Windows has no file-size limit to stand in for
// a full disk, and no folder that refuses new files to every user.

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

namespace trelvane::windows {

struct SystemCalls {
    decltype(&::CreateFileW) createFile;
    decltype(&::WriteFile) writeFile;
    decltype(&::FlushFileBuffers) flushFileBuffers;
    decltype(&::ReplaceFileW) replaceFile;
    decltype(&::MoveFileExW) moveFile;
};

SystemCalls &systemCalls();

}  // namespace trelvane::windows
