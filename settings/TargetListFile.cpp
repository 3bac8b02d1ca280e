#include "settings/TargetListFile.h"

TargetListFile::TargetListFile(std::wstring path, FileSystem& files, const AnsiCodePage& ansi)
    : FPath(std::move(path)), FFiles(files), FAnsi(ansi) {}

bool TargetListFile::Exists() const { return FFiles.Exists(FPath); }

std::vector<std::wstring> TargetListFile::Read() {
  TargetListText text = DecodeTargetList(FFiles.ReadAll(FPath), FAnsi);
  FEncoding = text.encoding;
  return std::move(text.rows);
}

void TargetListFile::Write(const std::vector<std::wstring>& rows) {
  EncodedTargetList encoded = EncodeTargetList(rows, FEncoding, FAnsi);
  FFiles.WriteAtomically(FPath, encoded.bytes);
  // A fallback to UTF-8 is now what the file holds.
  FEncoding = encoded.encoding;
}
