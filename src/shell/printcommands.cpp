#include "printcommands.h"

#include "pageprinter.h"

#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

namespace zendral {

PrintCommands::PrintCommands(const PageText &page, std::function<QString()> pageName,
                             QWidget &parent)
    : m_page(page), m_pageName(std::move(pageName)), m_parent(parent)
{}

PrintCommands::~PrintCommands() = default;

void PrintCommands::print()
{
    QPrintDialog dialog(&printer(), &m_parent);
    if (dialog.exec() == QDialog::Accepted)
        printTo(printer());
}

void PrintCommands::preview()
{
    QPrintPreviewDialog preview(&printer(), &m_parent);
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                     [this](QPrinter *target) { printTo(*target); });
    preview.exec();
}

QPrinter &PrintCommands::printer()
{
    if (!m_printer)
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *m_printer;
}

void PrintCommands::printTo(QPrinter &target)
{
    const QString name = m_pageName();
    target.setDocName(name);
    printPage(m_page, name, target);
}

} // namespace zendral
