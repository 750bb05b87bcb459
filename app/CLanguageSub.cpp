#include "app/CLanguageSub.h"

#include <QFont>
#include <QPushButton>

namespace {

// Layout in dialog units: the dialog, then the two buttons.
constexpr QRect DialogUnits(0, 0, 167, 87);
constexpr QRect EnglishUnits(7, 7, 152, 36);
constexpr QRect ItalianUnits(7, 43, 152, 37);

QPushButton *makeButton(QWidget *parent, const QString &text, const QRect &units)
{
    auto *button = new QPushButton(text, parent);
    button->setGeometry(CLanguageSub::dialogUnitsToPixels(units));
    QFont font = button->font();
    font.setPointSize(14);
    font.setBold(true);
    button->setFont(font);
    return button;
}

} // namespace

CLanguageSub::CLanguageSub(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setModal(true);
    setFixedSize(dialogUnitsToPixels(DialogUnits).size());

    m_english = makeButton(this, QStringLiteral("English"), EnglishUnits);
    m_italian = makeButton(this, QStringLiteral("Italiano"), ItalianUnits);

    // Enter always means "Italiano": only it may become the default button, even while
    // "English" has the focus.
    m_english->setAutoDefault(false);
    m_italian->setAutoDefault(true);
    m_italian->setDefault(true);
    m_italian->setFocus();

    connect(m_english, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_italian, &QPushButton::clicked, this, &QDialog::accept);
}

uint8_t CLanguageSub::chooseLanguage(QWidget *parent)
{
    CLanguageSub dialog(parent);
    return languageFor(dialog.exec());
}

QRect CLanguageSub::dialogUnitsToPixels(const QRect &units)
{
    const auto x = [](int u) { return u * 6 / 4; };
    const auto y = [](int u) { return u * 13 / 8; };
    return QRect(x(units.x()), y(units.y()), x(units.width()), y(units.height()));
}
