#include "assets/ChoiceDialog.h"

#include <QApplication>
#include <QKeyEvent>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>

#include "platform/Files.h"

namespace pabuko {

namespace {

// A list view marks its first entry as current when it takes the focus, which looks like
// a choice already made; here the focus frame waits for the player's first arrow or click.
class NameList : public QListWidget {
  public:
    using QListWidget::QListWidget;

  protected:
    void focusInEvent(QFocusEvent* event) override {
        const bool chosen = !selectedItems().isEmpty();
        QListWidget::focusInEvent(event);
        if (!chosen)
            selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    }
};

}  // namespace

std::vector<std::string> ListDataFiles(const std::string& folder, const std::string& extension) {
    std::vector<std::string> names = FilesWithExtension(folder, extension);
    for (std::string& name : names) name = StripExtension(name);
    return names;
}

ChoiceDialog::ChoiceDialog(const QString& caption, QWidget* parent) : QDialog(parent) {
    setWindowTitle(caption);
    setFixedSize(370, 190);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);

    ListBox = new NameList(this);
    ListBox->setObjectName(QStringLiteral("ListBox"));
    ListBox->setGeometry(0, 0, 369, 153);
    ListBox->setSelectionMode(QAbstractItemView::SingleSelection);
    ListBox->setUniformItemSizes(true);
    QFont font = ListBox->font();
    font.setPixelSize(11);  // fits the 13-pixel rows
    ListBox->setFont(font);
    ListBox->installEventFilter(this);
    ListBox->viewport()->installEventFilter(this);

    btnOK = new QPushButton(QStringLiteral("OK"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setGeometry(56, 160, 75, 25);
    connect(btnOK, &QPushButton::clicked, this, &ChoiceDialog::OK);

    btnCancel = new QPushButton(QStringLiteral("Zrušit"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    btnCancel->setGeometry(240, 160, 75, 25);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);

    setTabOrder(ListBox, btnOK);
    setTabOrder(btnOK, btnCancel);
}

void ChoiceDialog::Fill() {
    ListBox->clear();
    for (const std::string& name : Names()) {
        auto* item = new QListWidgetItem(QString::fromStdString(name), ListBox);
        // The exact bytes of the file name, whatever the display makes of them.
        item->setData(Qt::UserRole, QByteArray::fromStdString(name));
        item->setSizeHint(QSize(0, 13));
    }
    ListBox->setCurrentItem(nullptr);
    ListBox->clearSelection();
}

void ChoiceDialog::showEvent(QShowEvent* event) {
    Fill();
    if (const QScreen* s = screen()) move(s->availableGeometry().center() - rect().center());
    QDialog::showEvent(event);
    ListBox->setFocus();
}

void ChoiceDialog::OK() {
    const QList<QListWidgetItem*> selected = ListBox->selectedItems();
    if (selected.isEmpty()) {
        // Nothing to choose yet: the dialog stays, the player picks a name first.
        QApplication::beep();
        return;
    }
    Choose(selected.front()->data(Qt::UserRole).toByteArray().toStdString());
    accept();
}

bool ChoiceDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ListBox->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        OK();
        return true;
    }
    if (watched == ListBox && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        switch (key->key()) {
            case Qt::Key_Return:
            case Qt::Key_Enter:
                OK();
                return true;
            case Qt::Key_Down:
            case Qt::Key_Up:
                // The first arrow selects the entry under the focus frame, not the next one.
                if (ListBox->selectedItems().isEmpty() && ListBox->count() > 0) {
                    const int row = ListBox->currentRow() < 0 ? 0 : ListBox->currentRow();
                    ListBox->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
                    return true;
                }
                break;
            default:
                break;
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace pabuko
