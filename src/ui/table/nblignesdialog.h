#pragma once

#include <QDialog>

class QLabel;

namespace vorlac {

class UpDown;
class ValueTable;

// fnblignes: the number of data lines of the table, 1 to 100.
class NbLignesDialog : public QDialog {
    Q_OBJECT
public:
    NbLignesDialog(ValueTable &table, QWidget *parent = nullptr);

    UpDown *upDown() const { return m_upDown; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void onOk();

    ValueTable &m_table;
    UpDown *m_upDown;
    QLabel *m_value;
};

} // namespace vorlac
