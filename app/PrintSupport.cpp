#include "app/PrintSupport.h"

#include "base/ProgramPlugin.h"

PrintSupport *PrintSupport::load(QString *error)
{
    return ProgramPlugin::load<PrintSupport>(QLatin1String(PrintSupportPluginName), error);
}
