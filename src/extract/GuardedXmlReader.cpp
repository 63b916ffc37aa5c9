#include "extract/GuardedXmlReader.h"

bool GuardedXmlReader::Next(QString& why)
{
    if (m_leaving) {
        --m_depth;
        m_leaving = false;
    }
    if (m_xml.atEnd()) {
        if (m_xml.hasError())
            why = m_xml.errorString();
        return false;
    }
    switch (m_xml.readNext()) {
    case QXmlStreamReader::DTD:
    case QXmlStreamReader::EntityReference:
        why = QStringLiteral(u"XML с DTD не принимается");
        return false;
    case QXmlStreamReader::Invalid:
        why = m_xml.errorString();
        return false;
    case QXmlStreamReader::StartElement:
        if (++m_depth > m_maxDepth) {
            why = QStringLiteral(u"слишком глубокая вложенность XML");
            return false;
        }
        break;
    case QXmlStreamReader::EndElement:
        m_leaving = true;
        break;
    default:
        break;
    }
    return true;
}
