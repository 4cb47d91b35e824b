#include "engine/core/RefCounted.h"

#include "engine/core/Log.h"

namespace zel {

RefCounted::~RefCounted() {
    if (references_ > 0) LogWarning("Удаление объекта, имеющего ссылки. Количество ссылок [%d].", references_);
}

}  // namespace zel
