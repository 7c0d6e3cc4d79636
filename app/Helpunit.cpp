#include "Helpunit.h"

#include "Catalogue.h"
#include "Platform.h"

#include <QTextBrowser>
#include <QVBoxLayout>

using namespace varkelo;

namespace {

// Russian style: a decimal comma, "2,7".
QString Money(const TCatalogueRow& row) {
    QString text = QString::number(row.WholeValue());
    if (row.HasFraction())
        text += u',' + QString::number(row.ValueTenths % 10);
    return text;
}

QString ItemTable(const QString& heading, const QString& column, TGroup group) {
    QString html = QStringLiteral("<h3>%1</h3><table border=\"1\" cellspacing=\"0\" "
                                  "cellpadding=\"3\"><tr><th>Название</th><th>%2</th></tr>")
                       .arg(heading, column);
    for (const TCatalogueRow& row : CatalogueGroup(group)) {
        QString name = FromUtf8View(row.Caption);
        name.chop(1); // the label's colon
        html += QStringLiteral("<tr><td>%1</td><td align=\"right\">%2</td></tr>")
                    .arg(name.toHtmlEscaped(), Money(row));
    }
    return html + QStringLiteral("</table>");
}

} // namespace

QString HelpHtml() {
    QString html = QStringLiteral(
        "<h2>Варкело</h2>"
        "<p>Калькулятор прибыли одной рыбалки. Введите, сколько рыбы каждого вида поймано, "
        "сколько приманки и снастей потрачено и сколько долговечности осталось у снастей в "
        "работе, и программа покажет чистую прибыль в НВ. Ничего не сохраняется: при каждом "
        "запуске все поля начинаются с исходных значений.</p>"
        "<h3>Клавиши</h3><table cellpadding=\"2\">"
        "<tr><td><b>F1</b></td><td>выловленная рыба</td></tr>"
        "<tr><td><b>F2</b></td><td>потраченная приманка</td></tr>"
        "<tr><td><b>F3</b></td><td>потраченные снасти</td></tr>"
        "<tr><td><b>F4</b></td><td>расчёт прибыли (в главном окне также Enter)</td></tr>"
        "<tr><td><b>F5</b></td><td>эта помощь</td></tr>"
        "<tr><td><b>F6</b></td><td>выход (в главном окне также Esc)</td></tr>"
        "<tr><td><b>Enter</b></td><td>в окне ввода: запомнить введённые данные</td></tr>"
        "<tr><td><b>Esc</b></td><td>в окне ввода или помощи: закрыть, ничего не "
        "запоминая</td></tr></table>"
        "<p>F1–F6 работают из любого окна программы. В поле можно ввести целое число до шести "
        "знаков, со знаком минус или без него. Если в поле не число, ничего не запоминается, "
        "и курсор встаёт в это поле.</p>"
        "<h3>Как считается прибыль</h3>"
        "<p>Доход от рыбы: число рыб каждого вида, умноженное на её цену; дробная часть "
        "суммы отбрасывается. Из дохода вычитается стоимость потраченной приманки и снастей "
        "по их ценам. За снасть в работе берётся один НВ за каждую единицу потерянной "
        "долговечности: новая снасть имеет долговечность, равную её цене.</p>");
    html += ItemTable(QStringLiteral("Рыба"), QStringLiteral("Цена, НВ"), TGroup::Fish);
    html += ItemTable(QStringLiteral("Приманка"), QStringLiteral("Цена порции, НВ"), TGroup::Bait);
    html += ItemTable(QStringLiteral("Снасти"), QStringLiteral("Цена и долговечность, НВ"),
                      TGroup::SpentTackle);
    return html;
}

THelpForm::THelpForm(QWidget* owner) : QWidget(owner, Qt::Window) {
    setObjectName(QStringLiteral("HelpForm"));
    setWindowTitle(QStringLiteral("Помощь"));
    HelpText = new QTextBrowser(this);
    HelpText->setObjectName(QStringLiteral("HelpText"));
    HelpText->setHtml(HelpHtml());
    HelpText->setAccessibleName(QStringLiteral("Помощь"));
    QFont readable = HelpText->font(); // the forms' 11-pixel font is small for reading
    readable.setPixelSize(13);
    HelpText->setFont(readable);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(HelpText);
    resize(460, 560);
    InstallKeyPreview(this, [this](int key) {
        if (key == kKeyEscape)
            hide();
    });
}
