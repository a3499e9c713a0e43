print('todo')
