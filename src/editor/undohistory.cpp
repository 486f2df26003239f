#include "undohistory.h"

namespace zendral {

TextCmd &UndoHistory::AgregarComando(std::unique_ptr<TextCmd> command)
{
    m_comandos.resize(std::size_t(m_comandoActual));
    m_comandos.push_back(std::move(command));
    m_comandoActual = count();
    return *m_comandos.back();
}

void UndoHistory::DeshacerComando()
{
    if (m_comandoActual < 1)
        return;
    m_comandos.at(std::size_t(m_comandoActual - 1))->Undo();
    --m_comandoActual;
}

void UndoHistory::RehacerComando()
{
    if (m_comandoActual >= count())
        return;
    ++m_comandoActual;
    m_comandos.at(std::size_t(m_comandoActual - 1))->Apply();
}

} // namespace zendral
