#include "useraction.h"

#include "common/commonroutines.h"
#include "common/silentabort.h"
#include "db/dberror.h"

QString FailureText(const std::exception_ptr &failure)
{
    try {
        std::rethrow_exception(failure);
    } catch (const SilentAbort &) {
        return QString();
    } catch (const DbError &error) {
        return error.message();
    } catch (const std::exception &error) {
        return QString::fromUtf8(error.what());
    } catch (...) {
        return QStringLiteral("알 수 없는 오류가 발생했습니다.");
    }
}

bool RunUserAction(const std::function<void()> &action) noexcept
{
    try {
        action();
        return true;
    } catch (const SilentAbort &) {
    } catch (...) {
        const QString text = FailureText(std::current_exception());
        try {
            ShowErrorMessage(text);
        } catch (...) {
            // A box that cannot be shown must not take the program down.
        }
    }
    return false;
}
