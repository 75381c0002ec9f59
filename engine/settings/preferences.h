#pragma once
// Engine preferences and document information.
#include <string>

namespace vs {

class TqxPreferences {
 public:
  TqxPreferences() = default;
  virtual ~TqxPreferences() = default;
  TqxPreferences(const TqxPreferences&) = delete;
  TqxPreferences& operator=(const TqxPreferences&) = delete;

  // Copies the common preferences; descendants add their own fields.
  virtual void Assign(const TqxPreferences& source);

  bool ProcessAfterEachPage() const { return processAfterEachPage_; }
  bool OutputToUserStream() const { return outputToUserStream_; }
  bool OpenAfterCreate() const { return openAfterCreate_; }
  bool EmailAfterCreate() const { return emailAfterCreate_; }
  bool ShowSetupDialog() const { return showSetupDialog_; }
  bool CalculateVariables() const { return calculateVariables_; }
  bool UseImagesAsResources() const { return useImagesAsResources_; }

  // Virtual so that shared settings can pass changes on to the engines they feed.
  virtual void SetProcessAfterEachPage(bool v) { processAfterEachPage_ = v; }
  virtual void SetOutputToUserStream(bool v) { outputToUserStream_ = v; }
  virtual void SetOpenAfterCreate(bool v) { openAfterCreate_ = v; }
  virtual void SetEmailAfterCreate(bool v) { emailAfterCreate_ = v; }
  virtual void SetShowSetupDialog(bool v) { showSetupDialog_ = v; }
  virtual void SetCalculateVariables(bool v) { calculateVariables_ = v; }
  virtual void SetUseImagesAsResources(bool v) { useImagesAsResources_ = v; }

 private:
  bool processAfterEachPage_ = false;
  bool outputToUserStream_ = false;
  bool openAfterCreate_ = true;
  bool emailAfterCreate_ = false;
  bool showSetupDialog_ = true;
  bool calculateVariables_ = true;
  bool useImagesAsResources_ = true;
};

class TqxDocInfo {
 public:
  TqxDocInfo() = default;
  virtual ~TqxDocInfo() = default;
  TqxDocInfo(const TqxDocInfo&) = delete;
  TqxDocInfo& operator=(const TqxDocInfo&) = delete;

  void Assign(const TqxDocInfo& source);

  const std::u16string& Title() const { return title_; }
  const std::u16string& Subject() const { return subject_; }
  const std::u16string& Author() const { return author_; }
  const std::u16string& Creator() const { return creator_; }
  const std::u16string& Keywords() const { return keywords_; }

  virtual void SetTitle(const std::u16string& v) { title_ = v; }
  virtual void SetSubject(const std::u16string& v) { subject_ = v; }
  virtual void SetAuthor(const std::u16string& v) { author_ = v; }
  virtual void SetCreator(const std::u16string& v) { creator_ = v; }
  virtual void SetKeywords(const std::u16string& v) { keywords_ = v; }

 private:
  std::u16string title_, subject_, author_, creator_, keywords_;
};

}  // namespace vs
