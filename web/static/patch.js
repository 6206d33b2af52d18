// JSON Patch (RFC 6902) as the server sends it: "add", "remove" and
// "replace" with JSON Pointer paths. Applying never changes the document it
// is given: every container on an operation's path is copied, and all other
// parts are shared, so the renderer can skip any part whose object did not
// change.

export class PatchError extends Error {}

function parsePointer(pointer) {
  if (pointer === '') return [];
  if (!pointer.startsWith('/')) throw new PatchError(`bad path ${pointer}`);
  return pointer.slice(1).split('/').map((key) => key.replace(/~1/g, '/').replace(/~0/g, '~'));
}

function arrayIndex(array, key, adding) {
  if (key === '-' && adding) return array.length;
  if (!/^(0|[1-9][0-9]*)$/.test(key)) throw new PatchError(`bad array index ${key}`);
  const index = Number(key);
  if (index > array.length || (!adding && index === array.length)) throw new PatchError(`index ${key} out of range`);
  return index;
}

function applyAt(node, keys, depth, op) {
  if (node === null || typeof node !== 'object') throw new PatchError(`no container at ${op.path}`);
  const key = keys[depth];
  const copy = Array.isArray(node) ? node.slice() : { ...node };
  if (depth < keys.length - 1) {
    const index = Array.isArray(copy) ? arrayIndex(copy, key, false) : key;
    if (!(index in copy)) throw new PatchError(`nothing at ${op.path}`);
    copy[index] = applyAt(node[index], keys, depth + 1, op);
    return copy;
  }
  if (Array.isArray(copy)) {
    const index = arrayIndex(copy, key, op.op === 'add');
    if (op.op === 'add') copy.splice(index, 0, op.value);
    else if (op.op === 'remove') copy.splice(index, 1);
    else copy[index] = op.value;
  } else if (op.op === 'remove') {
    if (!(key in copy)) throw new PatchError(`nothing to remove at ${op.path}`);
    delete copy[key];
  } else {
    copy[key] = op.value;
  }
  return copy;
}

export function applyPatch(document, operations) {
  let result = document;
  for (const op of operations) {
    if (!['add', 'remove', 'replace'].includes(op.op)) throw new PatchError(`unsupported operation ${op.op}`);
    const keys = parsePointer(op.path);
    if (keys.length === 0) result = op.op === 'remove' ? null : op.value;
    else result = applyAt(result, keys, 0, op);
  }
  return result;
}
