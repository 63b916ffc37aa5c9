#include "dialogs/CDlgThanks.h"

#include "dialogs/DialogButtons.h"
#include "dialogs/DialogUnits.h"

#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

QString CDlgThanks::Text()
{
    const QString crlf = QStringLiteral("\r\n");
    return QStringLiteral(u"Огромное спасибо всем, кто поддержал рублём общее дело - борьбу со Сверкатором! "
                          u"Без ваших пожертвований программа не появилась бы на свет, а рефераты так и остались бы "
                          u"предметом ночных мучений. Мы помним каждого из вас и желаем удачной сессии!") +
           crlf + crlf + QStringLiteral(u"Павел") + crlf + QStringLiteral(u"Светлана") + crlf +
           QStringLiteral(u"Григорий") + crlf + QStringLiteral(u"Леонтина") + crlf + QStringLiteral(u"Евгения") + crlf +
           QStringLiteral(u" И всем, кто пожелал остаться неизвестными - спасибо!");
}

CDlgThanks::CDlgThanks(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("thanksDialog"));
    setWindowTitle(QStringLiteral(u"Спасибо"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    const DialogUnits du(*this);

    m_text = new QPlainTextEdit(this);
    m_text->setObjectName(QStringLiteral("thanksText"));
    m_text->setReadOnly(true);
    m_text->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m_text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_text->setFocusPolicy(Qt::StrongFocus);
    m_text->setTabChangesFocus(true);
    m_text->setPlainText(Text());

    auto* close = MakeDialogButton(this, QStringLiteral(u"Закрыть"), QStringLiteral("closeButton"), du.size(50, 14),
                                   ButtonKind::Default);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(du.x(7), du.y(7), du.x(7), du.y(7));
    layout->setSpacing(du.y(2));
    layout->addWidget(m_text, 1);
    layout->addLayout(buttons);

    resize(du.size(239, 134).expandedTo(minimumSizeHint()));
    setTabOrder(m_text, close);
    m_text->setFocus();
}
