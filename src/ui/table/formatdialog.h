#pragma once

#include <QDialog>
#include <array>

class QRadioButton;

namespace vorlac {

class ValueTable;

// Formatdonnees: chooses the one number pattern of the table, with painted examples.
class FormatDialog : public QDialog {
    Q_OBJECT
public:
    struct Choice {
        const char *name;
        QString caption;
        QString pattern;
    };
    static const std::array<Choice, 5> &choices();
    // The three example values written with pattern, as painted beside its option.
    static QStringList examples(const QString &pattern);

    FormatDialog(ValueTable &table, QWidget *parent = nullptr);

    QRadioButton *option(int i) const { return m_options[static_cast<std::size_t>(i)]; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void onOk();

    ValueTable &m_table;
    std::array<QRadioButton *, 5> m_options{};
};

} // namespace vorlac
