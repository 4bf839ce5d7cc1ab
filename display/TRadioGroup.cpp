#include "TRadioGroup.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QRadioButton>

TRadioGroup::TRadioGroup(QWidget* parent) : QGroupBox(parent), group_(new QButtonGroup(this)) {
    group_->setExclusive(true);
    connect(group_, &QButtonGroup::idClicked, this, [this](int id) {
        itemIndex_ = id;
        emit Click();
    });
}

void TRadioGroup::setItems(const QStringList& items) {
    for (QAbstractButton* button : group_->buttons()) {
        group_->removeButton(button);
        delete button;
    }
    items_ = items;
    for (int i = 0; i < items_.size(); ++i) {
        auto* button = new QRadioButton(items_[i], this);
        group_->addButton(button, i);
        button->show();
    }
    // The form may give the index before the items; it holds for the new items.
    setItemIndex(itemIndex_);
    Arrange();
}

int TRadioGroup::itemIndex() const {
    return group_->checkedId();
}

void TRadioGroup::setItemIndex(int index) {
    itemIndex_ = index;
    if (QAbstractButton* button = group_->button(index)) {
        button->setChecked(true);
        return;
    }
    // No item chosen: an exclusive group only lets go of its choice when made non-exclusive.
    if (QAbstractButton* checked = group_->checkedButton()) {
        group_->setExclusive(false);
        checked->setChecked(false);
        group_->setExclusive(true);
    }
}

void TRadioGroup::resizeEvent(QResizeEvent* event) {
    QGroupBox::resizeEvent(event);
    Arrange();
}

// Items share the space below the caption in equal rows, as a radio group lays them out.
void TRadioGroup::Arrange() {
    const QList<QAbstractButton*> buttons = group_->buttons();
    if (buttons.isEmpty()) {
        return;
    }
    const int top = 14;
    const int left = 8;
    const int rowHeight = std::max(1, (height() - top - 2) / static_cast<int>(buttons.size()));
    for (QAbstractButton* button : buttons) {
        const int i = group_->id(button);
        button->setGeometry(left, top + i * rowHeight, width() - left - 2, rowHeight);
    }
}
