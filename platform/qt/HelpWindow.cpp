// The help text in a dialog of its own: the text in a read-only browser that the keyboard can
// scroll and a reader can walk, and a button that closes it, as Escape does.
#include <QApplication>
#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QTimer>
#include <QVBoxLayout>
#include <memory>

#include "platform/qt/QtWidgets.h"

namespace {

QString Html(const std::string& text) { return QString::fromStdString(text).toHtmlEscaped(); }

QString HelpHtml(const THelpText& help) {
  QString html;
  for (const THelpSection& section : help.Sections) {
    html += "<h3>" + Html(section.Heading) + "</h3>";
    for (const std::string& p : section.Paragraphs) html += "<p>" + Html(p) + "</p>";
    if (section.Items.empty()) continue;
    html += "<ul>";
    for (const std::string& item : section.Items) html += "<li>" + Html(item) + "</li>";
    html += "</ul>";
  }
  return html;
}

}  // namespace

void TForm::ShowHelp(const THelpText& help) {
  FormWindow* owner = window_->qt;
  const QPointer<QWidget> before = QApplication::focusWidget();
  auto* dialog = new QDialog(owner);
  dialog->setObjectName("Pomoc");
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  dialog->setWindowTitle(QString::fromStdString(help.Title));
  dialog->setWindowModality(Qt::WindowModal);
  dialog->setPalette(owner->palette());

  auto* text = new QTextBrowser(dialog);
  text->setOpenLinks(false);
  // The caret moves with the keys, so a reader walks the text line by line.
  text->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
  text->setHtml(HelpHtml(help));
  // Named by the title and described by its first sentence, which a reader speaks as it opens.
  if (!help.Sections.empty() && !help.Sections.front().Paragraphs.empty())
    text->setAccessibleDescription(QString::fromStdString(help.Sections.front().Paragraphs.front()));
  text->setFont(ToQFont({"Arial", -14}));

  auto* close = new QPushButton(QString::fromStdString(help.CloseCaption), dialog);
  close->setAutoDefault(false);
  QObject::connect(close, &QPushButton::clicked, dialog, &QDialog::accept);

  // The table, once the help is gone.
  auto* table = new QPushButton(QString::fromStdString(help.TableCaption), dialog);
  table->setAutoDefault(false);
  auto wantsTable = std::make_shared<bool>(false);
  QObject::connect(table, &QPushButton::clicked, dialog, [dialog, wantsTable] {
    *wantsTable = true;
    dialog->accept();
  });

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(table);
  buttons->addWidget(close);
  auto* layout = new QVBoxLayout(dialog);
  layout->addWidget(text);
  layout->addLayout(buttons);
  dialog->resize(520, 460);
  // Once the dialog is gone, its owner is the active window again, with the focus where it was.
  QObject::connect(dialog, &QDialog::finished, owner, [this, owner, before, wantsTable] {
    QTimer::singleShot(0, owner, [this, owner, before, wantsTable] {
      owner->activateWindow();
      if (before) before->setFocus(Qt::OtherFocusReason);
      if (*wantsTable) DoTable();
    });
  });
  dialog->open();
  text->setFocus(Qt::OtherFocusReason);
}
