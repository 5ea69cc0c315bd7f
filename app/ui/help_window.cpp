#include "app/ui/help_window.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPointer>
#include <QShortcut>
#include <QSplitter>
#include <QTextBrowser>
#include <QToolButton>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>
#include <utility>
#include <vector>

#include "app/help/help_ids.h"
#include "app/program_folders.h"
#include "app/ui/help_topic.h"
#include "app/ui/ui_seams.h"
#include "base/message_seam.h"

namespace {

constexpr int kIdRole = Qt::UserRole;

QToolButton* Tool(const QString& text, const QString& tip, QWidget* parent) {
  auto* button = new QToolButton(parent);
  button->setText(text);
  button->setToolTip(tip);
  button->setAutoRaise(true);
  return button;
}

QString PageUrlKey(const QUrl& url) {
  return QFileInfo(url.toLocalFile()).fileName();
}

}  // namespace

HelpWindow::HelpWindow(std::string folder, HelpTopics topics)
    : QWidget(nullptr, Qt::Window), folder_(std::move(folder)), topics_(std::move(topics)) {
  setWindowTitle("PunTel Help");
  setObjectName("HelpWindow");
  SetHelpTopic(this, help_ids::kContents);
  resize(960, 680);

  BackButton = Tool("Back", "Back to the page before", this);
  ForwardButton = Tool("Forward", "Forward to the next page", this);
  ContentsButton = Tool("Contents", "The contents of the help", this);
  BrowserButton = Tool("Open in web browser", "Show this page in the desktop's web browser", this);
  FindEdit = new QLineEdit(this);
  FindEdit->setPlaceholderText("Find in page (Ctrl+F)");
  FindEdit->setClearButtonEnabled(true);
  BackButton->setEnabled(false);
  ForwardButton->setEnabled(false);

  Contents = new QTreeWidget(this);
  Contents->setHeaderHidden(true);
  Contents->setColumnCount(1);
  std::vector<QTreeWidgetItem*> open;  // the last item of each level
  for (const HelpTopic& topic : topics_.All()) {
    const size_t level = size_t(std::max(topic.level, 1));
    if (open.size() >= level) open.resize(level - 1);
    QTreeWidgetItem* item =
        open.empty() ? new QTreeWidgetItem(Contents) : new QTreeWidgetItem(open.back());
    item->setText(0, QString::fromStdString(topic.title));
    item->setData(0, kIdRole, QString::fromStdString(topic.id));
    open.push_back(item);
  }
  Contents->expandAll();

  Page = new QTextBrowser(this);
  Page->setOpenLinks(false);
  Page->setSearchPaths({QString::fromStdString(folder_)});

  auto* tools = new QHBoxLayout;
  for (QWidget* widget : std::initializer_list<QWidget*>{BackButton, ForwardButton, ContentsButton})
    tools->addWidget(widget);
  tools->addStretch();
  tools->addWidget(FindEdit);
  tools->addWidget(BrowserButton);
  auto* split = new QSplitter(this);
  split->addWidget(Contents);
  split->addWidget(Page);
  split->setStretchFactor(1, 3);
  split->setSizes({260, 700});
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(tools);
  layout->addWidget(split, 1);

  connect(BackButton, &QToolButton::clicked, Page, &QTextBrowser::backward);
  connect(ForwardButton, &QToolButton::clicked, Page, &QTextBrowser::forward);
  connect(Page, &QTextBrowser::backwardAvailable, BackButton, &QToolButton::setEnabled);
  connect(Page, &QTextBrowser::forwardAvailable, ForwardButton, &QToolButton::setEnabled);
  connect(ContentsButton, &QToolButton::clicked, this, [this] { ShowTopic(help_ids::kContents); });
  connect(BrowserButton, &QToolButton::clicked, this, [this] { OpenInBrowser(); });
  connect(Page, &QTextBrowser::anchorClicked, this, [this](const QUrl& link) { FollowLink(link); });
  connect(Page, &QTextBrowser::sourceChanged, this,
          [this](const QUrl& url) { SelectInContents(url); });
  connect(Contents, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
    ShowTopic(item->data(0, kIdRole).toString().toStdString());
  });
  connect(Contents, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) {
    ShowTopic(item->data(0, kIdRole).toString().toStdString());
  });
  connect(FindEdit, &QLineEdit::returnPressed, this, [this] { FindNext(); });
  connect(new QShortcut(QKeySequence::Find, this), &QShortcut::activated, this, [this] {
    FindEdit->setFocus();
    FindEdit->selectAll();
  });
}

void HelpWindow::ShowTopic(const std::string& id) {
  const HelpTopic* topic = topics_.Find(id);
  if (!topic) topic = topics_.Find(help_ids::kContents);
  if (!topic && !topics_.All().empty()) topic = &topics_.All().front();
  if (topic) Show(*topic);
}

void HelpWindow::Show(const HelpTopic& topic) {
  QUrl url = QUrl::fromLocalFile(QString::fromStdString(folder_ + topic.page));
  if (!topic.anchor.empty()) url.setFragment(QString::fromStdString(topic.anchor));
  if (Page->source().adjusted(QUrl::RemoveFragment) == url.adjusted(QUrl::RemoveFragment) &&
      !topic.anchor.empty()) {
    Page->scrollToAnchor(url.fragment());
    return;
  }
  Page->setSource(url);
  if (url.hasFragment()) Page->scrollToAnchor(url.fragment());
}

QUrl HelpWindow::CurrentUrl() const {
  return Page->source();
}

bool HelpWindow::InsideFolder(const QUrl& url) const {
  if (!url.isLocalFile()) return false;
  const QString root = QDir(QString::fromStdString(folder_)).canonicalPath();
  const QFileInfo file(url.toLocalFile());
  const QString path = file.canonicalFilePath();  // empty when missing
  return !root.isEmpty() && !path.isEmpty() && path.startsWith(root + "/");
}

void HelpWindow::FollowLink(const QUrl& link) {
  const QUrl target = Page->source().resolved(link);
  if (!InsideFolder(target)) return;  // the help shows its own pages only
  Page->setSource(target);
  if (target.hasFragment()) Page->scrollToAnchor(target.fragment());
}

void HelpWindow::SelectInContents(const QUrl& url) {
  const QString page = PageUrlKey(url), anchor = url.fragment();
  QTreeWidgetItem* best = nullptr;
  for (QTreeWidgetItemIterator it(Contents); *it; ++it) {
    const HelpTopic* topic = topics_.Find((*it)->data(0, kIdRole).toString().toStdString());
    if (!topic || QString::fromStdString(topic->page) != page) continue;
    if (QString::fromStdString(topic->anchor) == anchor) {
      best = *it;
      break;
    }
    if (!best && topic->anchor.empty()) best = *it;
  }
  if (best) {
    const QSignalBlocker quiet(Contents);
    Contents->setCurrentItem(best);
  }
}

void HelpWindow::FindNext() {
  const QString text = FindEdit->text();
  if (text.isEmpty()) return;
  if (Page->find(text)) return;
  // From the top again once the end of the page is reached.
  QTextCursor start = Page->textCursor();
  start.movePosition(QTextCursor::Start);
  Page->setTextCursor(start);
  Page->find(text);
}

void HelpWindow::OpenInBrowser() {
  if (!OpenOnDesktop(CurrentUrl())) Messages().Error("Unable to open a web browser !");
}

HelpWindow* MakeHelpWindow(const std::string& folder) {
  if (!IsRegularFile(folder + kHelpTopicsFile)) {
    Messages().Error("Help pages not found in " + folder + " !");
    return nullptr;
  }
  return new HelpWindow(folder, HelpTopics::Load(folder + kHelpTopicsFile));
}

HelpWindow* OpenHelpWindow() {
  static QPointer<HelpWindow> window;
  if (window) return window;
  window = MakeHelpWindow(ProgramDataFolder() + "help/");
  if (window) QObject::connect(qApp, &QCoreApplication::aboutToQuit, window, &QObject::deleteLater);
  return window;
}

void ShowHelpWindow(const std::string& id) {
  HelpWindow* window = OpenHelpWindow();
  if (!window) return;
  window->ShowTopic(id);
  window->show();
  window->raise();
  window->activateWindow();
}
