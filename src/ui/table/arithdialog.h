#pragma once

#include <QDialog>
#include <array>

class QLineEdit;

namespace vorlac {

struct Messenger;
class ValueTable;

// arith: fills the active column with an arithmetic sequence.
class ArithDialog : public QDialog {
    Q_OBJECT
public:
    ArithDialog(ValueTable &table, const Messenger &messenger, QWidget *parent = nullptr);

    // Text1(0) first value, Text1(1) last value, Text1(2) increment.
    QLineEdit *box(int i) const { return m_boxes[static_cast<std::size_t>(i)]; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void onOk();
    void normalise(QLineEdit *box);

    ValueTable &m_table;
    const Messenger &m_messenger;
    std::array<QLineEdit *, 3> m_boxes{};
};

} // namespace vorlac
