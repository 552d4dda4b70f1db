#pragma once

#include <QDialog>
#include <array>

class QLineEdit;

namespace vorlac
{

struct Messenger;
class ValueTable;

// arith: asks for an arithmetic sequence (first value, last value, increment) and refuses
// bounds the table cannot take; the table's owner fills the active column with it. The table is
// only read (its regional settings and number reading).
class ArithDialog : public QDialog
{
    Q_OBJECT
  public:
    struct Sequence {
        float first = 0;
        float last = 0;
        float step = 0;
    };

    ArithDialog(const ValueTable &table, const Messenger &messenger, QWidget *parent = nullptr);

    // The sequence accepted with OK.
    Sequence sequence() const { return m_sequence; }

    // Text1(0) first value, Text1(1) last value, Text1(2) increment.
    QLineEdit *box(int i) const { return m_boxes[static_cast<std::size_t>(i)]; }

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

  private:
    void onOk();
    void normalise(QLineEdit *box);

    const ValueTable &m_table;
    const Messenger &m_messenger;
    std::array<QLineEdit *, 3> m_boxes{};
    Sequence m_sequence;
};

} // namespace vorlac
