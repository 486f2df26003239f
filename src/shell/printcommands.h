#pragma once

#include <functional>
#include <memory>

class QPrinter;
class QString;
class QWidget;

namespace zendral {

class PageText;

// Archivo › Imprimir... and Vista previa de impresión. They share one printer, kept for the
// session and made when first needed: looking for printers is not part of starting up.
class PrintCommands
{
public:
    // pageName: the page's name as the window lists it, which the printed pages carry.
    PrintCommands(const PageText &page, std::function<QString()> pageName, QWidget &parent);
    ~PrintCommands();

    void print();
    void preview();

private:
    QPrinter &printer();
    void printTo(QPrinter &printer);

    const PageText &m_page;
    std::function<QString()> m_pageName;
    QWidget &m_parent;
    std::unique_ptr<QPrinter> m_printer;
};

} // namespace zendral
