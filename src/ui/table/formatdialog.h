#pragma once

#include <QDialog>
#include <array>
#include <optional>

class QRadioButton;

namespace vorlac
{

// Formatdonnees: chooses the one number pattern of the table, with painted examples; the
// table's owner applies the choice.
class FormatDialog : public QDialog
{
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

    FormatDialog(const QString &currentPattern, QWidget *parent = nullptr);

    // The pattern of the option selected; nullopt when none is.
    std::optional<QString> pattern() const;

    QRadioButton *option(int i) const { return m_options[static_cast<std::size_t>(i)]; }

  protected:
    void paintEvent(QPaintEvent *event) override;

  private:
    std::array<QRadioButton *, 5> m_options{};
};

} // namespace vorlac
