#pragma once

class LanguagePack;
class QCoreApplication;
class QTranslator;

// Qt's own texts (file dialogs, Yes / No / Cancel, the print dialog) in the pack's
// language: with the Italian column chosen, Qt's Italian translations are installed on
// the application, which owns the translator returned; null when English needs none or
// the translations are not installed.
QTranslator *installQtTranslations(QCoreApplication &app, const LanguagePack &pack);
