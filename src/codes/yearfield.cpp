#include "yearfield.h"

#include "common/silentabort.h"
#include "framework/ZZI000.h"
#include "framework/digitsvalidator.h"
#include "framework/messagetexts.h"
#include "framework/useraction.h"

#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>

namespace {
const QRegularExpression fourDigits(QStringLiteral("^[0-9]{4}$"));
} // namespace

YearField::YearField(QWidget *parent, std::function<void()> search)
    : QObject(parent)
{
    lblYear = new QLabel(QStringLiteral("* 기준년도"), parent);
    lblYear->setObjectName(QStringLiteral("lblYear"));
    cedYear = new QLineEdit(parent);
    cedYear->setObjectName(QStringLiteral("cedYear"));
    cedYear->setMaxLength(4);
    cedYear->setFixedWidth(60);
    cedYear->setAlignment(Qt::AlignRight);
    cedYear->setValidator(
            new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,4}")),
                                            cedYear));
    connect(cedYear, &QLineEdit::returnPressed, this, [search] { RunUserAction(search); });
}

int YearField::DefaultYear(const QDate &today)
{
    return today.month() >= 10 ? today.year() + 1 : today.year();
}

void YearField::setDefault()
{
    cedYear->setText(QString::number(DefaultYear(m_today())));
}

QString YearField::checkedYear(TfrmZZI000 *screen) const
{
    const QString text = cedYear->text();
    if (fourDigits.match(text).hasMatch() && text.toInt() >= FirstYear && text.toInt() <= LastYear)
        return text;
    screen->ShowStatusMessage(lblYear->text() + MessageText::enterCorrectly());
    cedYear->setFocus();
    Abort();
}
