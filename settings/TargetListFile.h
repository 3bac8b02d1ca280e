// The target list file "TargetCAD_APIVersion.txt" beside the program: read
// whole, written whole, in the encoding it was last read in.
#pragma once

#include <string>
#include <vector>

#include "settings/FileSystem.h"
#include "settings/TargetListCodec.h"

class TargetListFile {
 public:
  TargetListFile(std::wstring path, FileSystem& files, const AnsiCodePage& ansi);

  const std::wstring& Path() const { return FPath; }
  bool Exists() const;
  // Throws FileError when the file cannot be read.
  std::vector<std::wstring> Read();
  // Until the file has been read, ANSI without a mark. Throws FileError;
  // the previous file stays intact then.
  void Write(const std::vector<std::wstring>& rows);

 private:
  std::wstring FPath;
  FileSystem& FFiles;
  const AnsiCodePage& FAnsi;
  TextEncoding FEncoding = TextEncoding::Ansi;
};
