#pragma once

#include <QGroupBox>
#include <QStringList>

class QButtonGroup;

/// A framed group of radio buttons built from a list of items, with the index of the chosen
/// one (-1 when none is chosen). Clicked is raised when the user picks an item.
class TRadioGroup : public QGroupBox {
    Q_OBJECT
    Q_PROPERTY(QStringList items READ items WRITE setItems)
    Q_PROPERTY(int itemIndex READ itemIndex WRITE setItemIndex)
public:
    explicit TRadioGroup(QWidget* parent = nullptr);

    QStringList items() const { return items_; }
    void setItems(const QStringList& items);
    int itemIndex() const;
    void setItemIndex(int index);

signals:
    void Click();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void Arrange();
    void FixTabStops();
    QStringList items_;
    int itemIndex_ = -1;
    QButtonGroup* group_;
};
