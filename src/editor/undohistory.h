#pragma once

#include "textcmd.h"

#include <memory>
#include <vector>

namespace zendral {

// The history of typed characters: commands 1 to ComandoActual are applied, the ones after
// it can be redone. It never forgets, except the redo tail when a new command comes.
class UndoHistory
{
public:
    // Drops the redo tail and appends the command, which becomes the current one.
    TextCmd &AgregarComando(std::unique_ptr<TextCmd> command);
    void DeshacerComando();
    void RehacerComando();

    qsizetype count() const { return qsizetype(m_comandos.size()); }
    qsizetype ComandoActual() const { return m_comandoActual; }

private:
    std::vector<std::unique_ptr<TextCmd>> m_comandos;
    qsizetype m_comandoActual = 0;
};

} // namespace zendral
