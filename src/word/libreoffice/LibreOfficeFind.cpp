#include "LibreOfficeFind.h"

#include "word/libreoffice/WordSearchPattern.h"

#include <com/sun/star/beans/UnknownPropertyException.hpp>
#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/frame/XController.hpp>
#include <com/sun/star/text/XText.hpp>
#include <com/sun/star/text/XTextContent.hpp>
#include <com/sun/star/text/XTextDocument.hpp>
#include <com/sun/star/text/XTextViewCursor.hpp>
#include <com/sun/star/text/XTextViewCursorSupplier.hpp>
#include <com/sun/star/util/XSearchDescriptor.hpp>
#include <com/sun/star/util/XSearchable.hpp>

namespace css = com::sun::star;
using css::uno::Reference;
using css::uno::UNO_QUERY;

namespace {

// Hits looked at per search before giving up; each costs a round trip.
constexpr int MaxHits = 1000;

class MainTextSearch
{
public:
    MainTextSearch(Reference<css::util::XSearchable> searchable, Reference<css::text::XText> body)
        : m_searchable(std::move(searchable)), m_body(std::move(body))
    {
    }

    // The first hit in the main text after start (from the top when start is empty).
    Reference<css::text::XTextRange> From(const Reference<css::util::XSearchDescriptor>& descriptor,
                                          const Reference<css::uno::XInterface>& start)
    {
        Reference<css::uno::XInterface> found =
            start.is() ? m_searchable->findNext(start, descriptor) : m_searchable->findFirst(descriptor);
        for (int seen = 0; found.is() && seen < MaxHits; ++seen) {
            Reference<css::text::XTextRange> hit(found, UNO_QUERY);
            if (hit.is() && InMainText(hit))
                return hit;
            found = m_searchable->findNext(found, descriptor);
        }
        return {};
    }

private:
    // The body itself, or a cell of a table that stands in the body.
    bool InMainText(const Reference<css::text::XTextRange>& hit)
    {
        if (hit->getText() == m_body)
            return true;
        Reference<css::beans::XPropertySet> properties(hit, UNO_QUERY);
        if (!properties.is())
            return false;
        Reference<css::text::XTextContent> table;
        try {
            properties->getPropertyValue(OUString("TextTable")) >>= table;
        } catch (const css::beans::UnknownPropertyException&) {
            return false;
        }
        if (!table.is())
            return false;
        Reference<css::text::XTextRange> anchor = table->getAnchor();
        return anchor.is() && anchor->getText() == m_body;
    }

    Reference<css::util::XSearchable> m_searchable;
    Reference<css::text::XText> m_body;
};

Reference<css::uno::XInterface> ViewCursorEnd(const Reference<css::frame::XModel>& model)
{
    Reference<css::text::XTextViewCursorSupplier> supplier(model->getCurrentController(), UNO_QUERY);
    if (!supplier.is())
        return {};
    Reference<css::text::XTextViewCursor> cursor = supplier->getViewCursor();
    if (!cursor.is())
        return {};
    return Reference<css::uno::XInterface>(cursor->getEnd(), UNO_QUERY);
}

} // namespace

LibreOfficeFind::LibreOfficeFind(UnoShared shared, std::shared_ptr<LibreOfficeRange::Refs> range)
    : m_shared(std::move(shared)), m_range(std::move(range))
{
}

WordStatus LibreOfficeFind::SetForward(bool forward)
{
    // Searching backwards is never asked for.
    if (!forward)
        return WordStatus::Failed(QStringLiteral(u"Поиск назад не поддерживается."));
    return {};
}

WordStatus LibreOfficeFind::SetWrap(bool wrapToStart)
{
    m_wrap = wrapToStart;
    return {};
}

WordStatus LibreOfficeFind::Execute(const QString& text, bool& found)
{
    found = false;
    auto hitFound = std::make_shared<bool>(false);
    const QString pattern = WordSearchPattern::Tolerant(text);
    const WordStatus status = UnoCall::Run(
        m_shared, m_shared.options.callTimeoutMs, [range = m_range, text, pattern, wrap = m_wrap, hitFound] {
            Reference<css::util::XSearchable> searchable(range->model, UNO_QUERY);
            Reference<css::text::XTextDocument> document(range->model, UNO_QUERY);
            if (!searchable.is() || !document.is())
                return WordStatus::Failed(QStringLiteral(u"В документе нельзя искать."));
            MainTextSearch search(searchable, document->getText());
            const Reference<css::uno::XInterface> start = ViewCursorEnd(range->model);

            Reference<css::util::XSearchDescriptor> descriptor = searchable->createSearchDescriptor();
            Reference<css::beans::XPropertySet> properties(descriptor, css::uno::UNO_QUERY_THROW);
            properties->setPropertyValue(OUString("SearchCaseSensitive"), css::uno::Any(false));
            // The sentence as written first; then allowing for what the text filters changed.
            const QString attempts[] = {text, pattern};
            for (int i = 0; i < 2; ++i) {
                const bool regex = i == 1;
                if (regex && pattern == text)
                    break;
                descriptor->setSearchString(UnoCall::ToOUString(attempts[i]));
                properties->setPropertyValue(OUString("SearchRegularExpression"), css::uno::Any(regex));
                Reference<css::text::XTextRange> hit = search.From(descriptor, start);
                if (!hit.is() && wrap && start.is())
                    hit = search.From(descriptor, {});
                if (hit.is()) {
                    range->hit = hit;
                    *hitFound = true;
                    return WordStatus::Ok();
                }
            }
            return WordStatus::Ok();
        });
    found = *hitFound;
    return status;
}
