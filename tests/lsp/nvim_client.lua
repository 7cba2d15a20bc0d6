-- Neovim's own language client, headless, against "codelumo-cli lsp": opens
-- one module file, asks at each place given for definition, references and
-- hover, asks for the file's symbols and writes every answer as JSON.
local env = vim.env
local places = vim.fn.json_decode(env.LUMO_LSP_PLACES)
vim.cmd('edit ' .. vim.fn.fnameescape(env.LUMO_LSP_FILE))
local buf = vim.api.nvim_get_current_buf()
local id = vim.lsp.start_client({ name = 'codelumo', cmd = { env.LUMO_LSP_CLI, 'lsp' }, root_dir = env.LUMO_LSP_ROOT })
vim.lsp.buf_attach_client(buf, id)
local ready = vim.wait(20000, function()
  local c = vim.lsp.get_client_by_id(id)
  return c ~= nil and c.initialized
end, 20)

local function ask(method, params)
  local answers = vim.lsp.buf_request_sync(buf, method, params, 10000)
  if answers == nil or answers[id] == nil then return 'keine Antwort' end
  if answers[id].error then return 'Fehler: ' .. vim.inspect(answers[id].error) end
  return answers[id].result or vim.NIL
end

local out = { ready = ready, places = {} }
local uri = vim.uri_from_bufnr(buf)
for _, p in ipairs(places) do
  local at = { textDocument = { uri = uri }, position = { line = p[1], character = p[2] } }
  table.insert(out.places, {
    definition = ask('textDocument/definition', at),
    hover = ask('textDocument/hover', at),
    references = ask('textDocument/references', vim.tbl_extend('force', at, { context = { includeDeclaration = false } })),
  })
end
out.symbols = ask('textDocument/documentSymbol', { textDocument = { uri = uri } })

local f = io.open(env.LUMO_LSP_OUT, 'w')
f:write(vim.fn.json_encode(out))
f:close()
vim.lsp.stop_client(id)
vim.wait(5000, function() return vim.lsp.get_client_by_id(id) == nil end, 20)
vim.cmd('qa!')
