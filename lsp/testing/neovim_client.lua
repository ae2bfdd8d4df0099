-- Drives pb-sourcetrek-lsp through Neovim's built-in LSP client (Neovim 0.7): opens the
-- example's main.pb, asks what an editor asks and writes one line per answer to $PBST_OUT.
local server, examples, out_path = os.getenv('PBST_LSP_SERVER'), os.getenv('PBST_EXAMPLES'), os.getenv('PBST_OUT')
local out = assert(io.open(out_path, 'w'))
local function say(...) out:write(table.concat({...}, ' '), '\n') end
local function place(uri, range) return vim.uri_to_fname(uri) .. ':' .. (range.start.line + 1) end

local diagnostics_seen = false
local client_id = vim.lsp.start_client({
  cmd = {server},
  root_dir = examples,
  handlers = {['textDocument/publishDiagnostics'] = function(err, result, ctx, config)
    vim.lsp.diagnostic.on_publish_diagnostics(err, result, ctx, config)
    for _, diagnostic in ipairs(result.diagnostics) do
      say('diagnostic', place(result.uri, diagnostic.range), diagnostic.message)
    end
    if vim.uri_to_fname(result.uri) == examples .. 'main.pb' then diagnostics_seen = true end
  end},
})
vim.cmd('edit ' .. examples .. 'main.pb')
local buffer = vim.api.nvim_get_current_buf()
vim.lsp.buf_attach_client(buffer, client_id)
vim.wait(10000, function() return vim.lsp.get_client_by_id(client_id).initialized end, 20)

-- The position of the first `word` on the first line that holds `line_text`.
local function at(line_text, word)
  for number, line in ipairs(vim.api.nvim_buf_get_lines(buffer, 0, -1, false)) do
    if line:find(line_text, 1, true) then
      return {textDocument = {uri = vim.uri_from_bufnr(buffer)},
              position = {line = number - 1, character = line:find(word, 1, true) - 1}}
    end
  end
end
local function ask(method, params)
  local answers = vim.lsp.buf_request_sync(buffer, method, params, 10000) or {}
  local answer = answers[client_id] or {}
  if answer.err then say('error', method, answer.err.message) end
  return answer.result or {}
end

local add_item = at('count = AddItem("Bolt"', 'AddItem')
for _, location in ipairs(ask('textDocument/definition', add_item)) do say('definition', place(location.uri, location.range)) end
for _, location in ipairs(ask('textDocument/references', add_item)) do say('reference', place(location.uri, location.range)) end
local items = ask('textDocument/prepareCallHierarchy', add_item)
for _, call in ipairs(ask('callHierarchy/incomingCalls', {item = items[1]})) do
  for _, range in ipairs(call.fromRanges) do say('incoming', call.from.name, place(call.from.uri, range)) end
end
local main = ask('textDocument/prepareCallHierarchy', at('Procedure Main()', 'Main'))[1]
for _, call in ipairs(ask('callHierarchy/outgoingCalls', {item = main})) do
  for _, range in ipairs(call.fromRanges) do say('outgoing', call.to.name, place(main.uri, range)) end
end
for _, symbol in ipairs(ask('textDocument/documentSymbol', {textDocument = {uri = vim.uri_from_bufnr(buffer)}})) do
  say('symbol', symbol.name, symbol.range.start.line + 1)
end
local rename = vim.tbl_extend('force', add_item, {newName = 'AddStock'})
for uri, edits in pairs(ask('textDocument/rename', rename).changes or {}) do
  for _, edit in ipairs(edits) do say('rename', place(uri, edit.range), edit.newText) end
end
vim.wait(10000, function() return diagnostics_seen end, 20)
say('end')
out:close()
vim.lsp.stop_client(client_id)
vim.cmd('qa!')
