#pragma once
// The program's help: one top-level window for the whole program, made on first use and
// raised after. The contents (the topics table, in its order) on the left, the page on the
// right; Back, Forward, Contents, Find in page and "Open in web browser". Only pages of the
// help folder are shown: a link that leaves it is not followed.

#include <QWidget>
#include <string>

#include "app/help/help_topics.h"

class QLineEdit;
class QTextBrowser;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;
class QUrl;

class HelpWindow : public QWidget {
  Q_OBJECT

 public:
  // The help folder (ending with '/') and its topics table, read by the caller.
  HelpWindow(std::string folder, HelpTopics topics);

  // Shows the page and anchor of `id`; an unknown id shows the contents.
  void ShowTopic(const std::string& id);
  // The file: URL of the page shown, with its anchor.
  QUrl CurrentUrl() const;
  void OpenInBrowser();
  void FindNext();

  QTreeWidget* Contents = nullptr;
  QTextBrowser* Page = nullptr;
  QToolButton* BackButton = nullptr;
  QToolButton* ForwardButton = nullptr;
  QToolButton* ContentsButton = nullptr;
  QToolButton* BrowserButton = nullptr;
  QLineEdit* FindEdit = nullptr;

 private:
  void Show(const HelpTopic& topic);
  void FollowLink(const QUrl& link);
  bool InsideFolder(const QUrl& url) const;
  void SelectInContents(const QUrl& url);

  std::string folder_;
  HelpTopics topics_;
};

// A help window on `folder` (ending with '/'); when the folder has no topics table it says
// "Help pages not found in <folder> !" and returns null.
HelpWindow* MakeHelpWindow(const std::string& folder);
// The help window of the program, made on first use. When the help folder or its topics
// table is missing it says "Help pages not found in <folder> !" and returns null.
HelpWindow* OpenHelpWindow();
// Opens the help window on `id` (the default of the help seam).
void ShowHelpWindow(const std::string& id);
