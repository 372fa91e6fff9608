#pragma once
// TUsefulFileBox: the entries of one folder that match a set of name
// patterns, sorted by name, each with the desktop's icon for its file type.
// Only ordinary files are listed; hidden entries (names starting with ".")
// and folders are left out.
//
// The box never changes the process's current folder: a generation run may
// be working on another thread. Relative paths resolve against Directory.

#include <QListView>
#include <string>
#include <vector>

namespace zelvora {

class TFileBoxModel;

class TUsefulFileBox : public QListView {
  Q_OBJECT
 public:
  explicit TUsefulFileBox(QWidget* parent = nullptr);
  ~TUsefulFileBox() override;

  // The folder listed, normalized; empty at first.
  const std::string& Directory() const { return directory_; }
  // Nothing when path names the folder already listed (letter case
  // ignored). A relative path resolves against Directory.
  void SetDirectory(const std::string& path);

  // Name patterns separated by ";" ("*.*" at first). A new mask re-reads.
  const std::string& Mask() const { return mask_; }
  void SetMask(const std::string& mask);

  bool ShowGlyphs() const { return showGlyphs_; }
  void SetShowGlyphs(bool show);

  // Shows the folder, pattern or file a text names: a folder is listed, a
  // name with "*" or "?" becomes the mask, an existing file is selected.
  // False, with *error set to "Invalid file name - " and the text, when
  // the text ends in a plain name that is no existing file.
  bool ApplyFilePath(const std::string& text, std::string* error = nullptr);

  // Re-reads the folder and keeps the current line on its name when that
  // name is still listed.
  void Update();
  // Lists the folder again from the disk.
  void ReadFileNames();

  int Count() const;
  std::string Name(int row) const;
  // The current line, -1 when none.
  int CurrentRow() const;
  void SetCurrentRow(int row);
  // Directory, a separator and the current name; empty with no current line.
  std::string FileName() const;
  // The full path of a line, empty for a row outside the list.
  std::string PathOf(int row) const;

 signals:
  // After the current line changed and after every re-read.
  void Changed();

 private:
  void ChangeNotice();
  int RowOf(const std::string& name) const;

  TFileBoxModel* model_;
  std::string directory_;
  std::string mask_ = "*.*";
  bool showGlyphs_ = true;
  int lastCurrent_ = -1;
};

// The names a folder listing shows: ordinary, not hidden files whose name
// matches one of the ";"-separated patterns, sorted by name with letter
// case ignored (ties by bytes). Empty when the folder does not exist.
std::vector<std::string> ListMatchingFiles(const std::string& folder, const std::string& mask);

}  // namespace zelvora
